#!/usr/bin/env bash
# rayviewer shows the demo scene under its title; Z then S comes back to the same picture; a
# mouse move orbits the camera and the pointer is warped to (200, 200); Q ends with exit code 0.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/viewer.sh"

check_viewing rayviewer 0.06
echo "PASS"
