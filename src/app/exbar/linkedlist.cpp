// The task pane's linked list.
