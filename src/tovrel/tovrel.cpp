// The toolkit's entry points.
