#pragma once

// Keeps the library that holds the calling code loaded until the process ends, whatever its host
// frees later: for a library that leaves a thread of its own running (the browser plug-in with an
// applet that did not end), whose code must not go away under that thread.
//
// Windows: GetModuleHandleExA with GET_MODULE_HANDLE_EX_FLAG_PIN. Linux: dlopen of the library's
// own file with RTLD_NOLOAD | RTLD_NODELETE. Returns whether the library is kept.
bool QVPinOwnLibrary();
