#include "tests/modules/RunTimeKeyEditor.h"

#include <string>
#include <windows.h>

namespace
{

const char KeyPath[] = "SOFTWARE\\Corvane\\common";
const char ValueName[] = "QVRunTimePath";

bool saved = false;
bool hadKey = false;
bool hadValue = false;
std::string savedValue;

void Prepare()
{
    if (saved)
        return;
    HKEY key = nullptr;
    hadKey = RegOpenKeyA(HKEY_LOCAL_MACHINE, KeyPath, &key) == ERROR_SUCCESS;
    hadValue = false;
    if (hadKey)
    {
        char value[1024] = {};
        DWORD size = sizeof value - 1;
        DWORD type = REG_SZ;
        hadValue = RegQueryValueExA(key, ValueName, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                    &size) == ERROR_SUCCESS;
        savedValue = value;
        RegCloseKey(key);
    }
    saved = true;
}

HKEY CreateKey()
{
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, KeyPath, &key);
    return key;
}

void WriteValue(const char* directory)
{
    HKEY key = CreateKey();
    if (key == nullptr)
        return;
    RegSetValueExA(key, ValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(directory),
                   static_cast<DWORD>(std::string(directory).size() + 1));
    RegCloseKey(key);
}

}  // namespace

void SetRunTimeKey(const char* directory)
{
    Prepare();
    WriteValue(directory);
}

void SetRunTimeKeyWithoutValue()
{
    Prepare();
    HKEY key = CreateKey();
    if (key == nullptr)
        return;
    RegDeleteValueA(key, ValueName);
    RegCloseKey(key);
}

void RemoveRunTimeKey()
{
    Prepare();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, KeyPath);
}

void RestoreRunTimeKey()
{
    if (!saved)
        return;
    if (!hadKey)
        RemoveRunTimeKey();
    else if (hadValue)
        WriteValue(savedValue.c_str());
    else
        SetRunTimeKeyWithoutValue();
    saved = false;
}

bool OverrideSystemDir(const char*) { return false; }
