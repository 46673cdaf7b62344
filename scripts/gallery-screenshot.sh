#!/usr/bin/env bash
# A screenshot of the toolkit's gallery (tool bars and rebars in every UI style), for a
# person to look at, on a private Xvfb display; writes $ZK_BUILD/screenshots/gallery.png.
# Needs a build (scripts/build.sh).
exec "$(dirname "$0")/program-screenshot.sh" TovrelGallery shot-gallery gallery.png
