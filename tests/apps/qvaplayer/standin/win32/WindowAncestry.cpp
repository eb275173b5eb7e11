#include "../WindowAncestry.h"

#include <windows.h>

bool GrandparentIsTop(void* pluginWindow, void* topWindow)
{
    HWND grandparent = GetParent(GetParent(static_cast<HWND>(pluginWindow)));
    return grandparent != nullptr && grandparent == static_cast<HWND>(topWindow) &&
           GetAncestor(static_cast<HWND>(pluginWindow), GA_ROOT) == grandparent;
}
