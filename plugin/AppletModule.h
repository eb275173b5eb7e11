#pragma once

#include "plugin/QVApplet.h"

#include <string>

// Loads the applet module of the library fileName through this library's module manager.
// Returns the applet, or null when the library does not load (missing, not a module library,
// no CreateMod, CreateMod failing) or its module is not of the applet type: such a module is
// released again unless it was loaded before, so a host never calls Init or Run on anything but
// an applet.
QVApplet* LoadAppletModule(const char* fileName);

// The same, and on failure says why in failure, for a person to read: not found (and where the
// library search looked), found but refused by the system's loader (with its reason), no module
// library, or a module that is not an applet (with its type).
QVApplet* LoadAppletModule(const char* fileName, std::string& failure);
