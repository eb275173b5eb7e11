// The memory module's switch of its own library's allocation hook, compiled into a program on
// the web (see ../CMakeLists.txt): as on the desktop, where that hook is always off, it changes
// nothing.
#include "modules/QVAllocHook.h"

void QVHookSetActive(bool) {}
