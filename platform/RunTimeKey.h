#pragma once

// The machine-wide setting that names the directory of the installed runtime modules.
//
// Windows: string value "QVRunTimePath" of HKEY_LOCAL_MACHINE\SOFTWARE\Corvane\common.
// Linux: a small key file standing in for the registry key, so that it can be set and tested
// without root. The file named by the environment variable QV_RUNTIME_KEY (when set, even to an
// empty text, which names no file), else the compile-time default QV_RUNTIME_KEY_FILE
// ("/etc/corvane/common" unless configured otherwise). A line "QVRunTimePath=<directory>" holds
// the value; blank lines and lines starting with '#' are ignored.
//
// Both keep the three outcomes of the registry: no key (file) -> false and an empty text; a key
// without the value -> true and an empty text; the value -> true and the directory.

// Writes the directory, NUL-terminated, into out (size bytes, size > 0); an absent or unreadable
// value leaves out empty. Returns whether the key (file) exists.
bool QVReadRunTimeKey(char* out, int size);
