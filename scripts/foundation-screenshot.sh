#!/usr/bin/env bash
# A screenshot of what the toolkit's foundation draws (styled texts, style backgrounds,
# derived images), for a person to look at, on a private Xvfb display; writes
# $ZK_BUILD/screenshots/foundation-samples.png. Needs a build (scripts/build.sh).
exec "$(dirname "$0")/program-screenshot.sh" zk_foundation_samples shot-foundation foundation-samples.png
