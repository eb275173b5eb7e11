#pragma once

// Working directory, system directory and directory changes.
//
// Windows: drive letters, '\' as separator, the Windows system directory.
// Linux: no drives (changing the drive always fails), '/' as separator, and the "system
// directory" is where the installed modules live: the environment variable QV_SYSTEM_DIR when
// set, else the compile-time default QV_SYSTEM_MODULE_DIR (<install prefix>/lib/qv).

// The separator between directory and file names: '\' on Windows, '/' on Linux.
char QVPathSeparator();

// Writes the working directory (of the current drive on Windows), NUL-terminated, into out (size
// bytes, size > 0) and returns its length. Paths have no fixed limit: a length not below size
// means that it did not fit and out is empty; ask again with length + 1 bytes. -1, out empty,
// when it cannot be read (the directory was removed, or one above it may not be searched).
int QVGetCurrentDir(char* out, int size);

// Writes the system directory into out, with the same results as QVGetCurrentDir.
int QVGetSystemDir(char* out, int size);

// Makes drive 1 (A:), 2 (B:), ... current. Returns false when the drive does not exist; on Linux
// always false.
bool QVChangeDrive(int drive);

// Changes the working directory. Returns false (nothing changed) on failure.
bool QVChangeDir(const char* path);
// The same for a 16-bit text (on Linux converted to UTF-8 first).
bool QVChangeDirWide(const unsigned short* path);

// Whether both paths name one directory (Linux: the same file; Windows: the same full path,
// letter case aside). False when either cannot be told.
bool QVSameDirectory(const char* first, const char* second);
