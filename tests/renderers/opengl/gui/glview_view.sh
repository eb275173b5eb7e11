#!/usr/bin/env bash
# qvglview shows the demo scene under its title, as the screenshot reference has it; Z then S
# comes back to the same picture; a mouse move orbits the camera and the pointer is warped to
# (200, 200); Q ends with exit code 0.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/glview.sh"
trap park_pointer EXIT

check_viewing qvglview 0.05

# Closing the window through the window manager ends it with 0 as well.
check_closing
echo "PASS"
