#include "platform/LibraryPin.h"

#include <windows.h>

bool QVPinOwnLibrary()
{
    HMODULE self = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_PIN,
                              reinterpret_cast<LPCSTR>(&QVPinOwnLibrary), &self) != 0;
}
