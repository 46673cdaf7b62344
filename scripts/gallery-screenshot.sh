#!/usr/bin/env bash
# Screenshots of the toolkit's gallery (menus, tool bars and rebars in every UI style), for
# a person to look at, on a private Xvfb display: $ZK_BUILD/screenshots/gallery.png with a
# hot and a checked button, gallery-menu.png with the File menu open. Needs a build
# (scripts/build.sh).
set -euo pipefail
here=$(dirname "$0")
"$here/program-screenshot.sh" TovrelGallery shot-gallery gallery.png
"$here/program-screenshot.sh" TovrelGallery shot-gallery gallery-menu.png menu
