#pragma once

#include "plugin/QVApplet.h"

// Loads the applet module of the library fileName through this library's module manager.
// Returns the applet, or null when the library does not load (missing, not a module library,
// no CreateMod, CreateMod failing) or its module is not of the applet type: such a module is
// released again unless it was loaded before, so a host never calls Init or Run on anything but
// an applet.
QVApplet* LoadAppletModule(const char* fileName);
