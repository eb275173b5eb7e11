#!/usr/bin/env bash
# Closing rayviewer's window through the window manager ends the program with exit code 0.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/viewer.sh"

check_closing
echo "PASS"
