#pragma once

// An operating-system handle: a loaded library, a program instance, a window. Pointer-sized, so
// it is 32 bits wide on win32 as the module and window records expect, and wide enough for
// addresses on 64-bit Linux.
using QVHandle = void*;
