#pragma once

// The machine-wide setting that names the directory of the installed runtime modules.
//
// Windows: string value "QVRunTimePath" of HKEY_LOCAL_MACHINE\SOFTWARE\Corvane\common.
// Linux: a small key file standing in for the registry key, so that it can be set and tested
// without root. The file named by the environment variable QV_RUNTIME_KEY (when set, even to an
// empty text, which names no file), else the compile-time default QV_RUNTIME_KEY_FILE
// ("/etc/corvane/common" unless configured otherwise); a name that does not stand for a regular
// file is no key file. A line "QVRunTimePath=<directory>" holds the value; blank lines and lines
// starting with '#' are ignored.
//
// Both keep the three outcomes of the registry: no key (file) -> false and an empty text; a key
// without the value -> true and an empty text; the value -> true and the directory.

// Writes the directory, NUL-terminated, into out (size bytes, size > 0) and returns its length: 0
// (out empty) when the key holds no readable value, -1 (out empty) when the key (file) does not
// exist. Values have no fixed limit: a length not below size means that it did not fit and out is
// empty; ask again with length + 1 bytes.
int QVReadRunTimeKey(char* out, int size);
