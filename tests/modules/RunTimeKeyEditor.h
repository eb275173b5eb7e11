#pragma once

// Sets up the runtime-directory key for a test: the registry key on Windows (under Wine's
// registry), the key file named by QV_RUNTIME_KEY on Linux. The first change remembers what was
// there; RestoreRunTimeKey puts it back.

// Key present with the value naming directory.
void SetRunTimeKey(const char* directory);
// Key present, value absent.
void SetRunTimeKeyWithoutValue();
// Key absent.
void RemoveRunTimeKey();
// The key as it was before the first change.
void RestoreRunTimeKey();

// Points the system directory of the library search at directory. Only Linux lets a program
// choose it (QV_SYSTEM_DIR); returns false, changing nothing, on Windows. Null restores it.
bool OverrideSystemDir(const char* directory);
