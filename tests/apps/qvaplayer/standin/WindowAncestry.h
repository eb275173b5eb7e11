#pragma once

// Whether the plug-in window's grandparent (the parent of its parent) is the browser's top
// window, as the real plug-in relies on. Windows: GetParent twice. Linux: XQueryTree twice on a
// connection of the stand-in's own.
bool GrandparentIsTop(void* pluginWindow, void* topWindow);
