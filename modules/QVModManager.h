#pragma once

#include "core/containers/QVPtrList.h"
#include "core/object/QVObject.h"
#include "modules/QVModule.h"

// Load status reported by the loading operations.
enum QVLoadStatus
{
    QV_LOAD_FAILED = 0,   // library not found or without CreateMod; no module
    QV_LOAD_NEW = 1,      // a new module object was created
    QV_LOAD_ALREADY = 2,  // a module with this file name was loaded and is returned
};

// Finds, loads, keeps and releases the modules of this library. One per library (each program,
// the plug-in and each module has its own), created on first use and never destroyed.
// Libraries are found as LoadDynLibrary (modules/RunTimePath.h) finds them; a module that is
// already loaded is recognised only by the file name its constructor set. Single-threaded.
class QVModManager : public QVObject
{
public:
    QVModManager();
    // Releases every module of the table except the memory module.
    virtual ~QVModManager();

    // The module named fileName: an already loaded one with that file name (status 2), else a
    // new one from the library (status 1), else null (status 0).
    QVModule* LoadModule(const char* fileName, int& status);
    QVModule* LoadModule(const char* fileName);
    // As LoadModule, but a new module is not entered in the table.
    QVModule* LoadModuleUnlisted(const char* fileName, int& status);
    // Loads every "*.qvm" of the working directory, then of the runtime directory, keeping the
    // new modules of the given type and subtype (all when type is null). Returns the table count.
    unsigned LoadModules(const char* type, const char* subtype);
    // Takes the module out of the table, calls the library's ReleaseMod on it (a library without
    // one leaves the object alone) and frees the library. Returns whether freeing the library
    // succeeded. A module that is not in the table (null, released before, another manager's or
    // loaded unlisted) is not touched at all: false.
    bool ReleaseModule(QVModule* module);
    // Releases a module that no table holds (one that LoadModuleUnlisted created, or the memory
    // module that a manager's destructor kept), as ReleaseModule releases those of the table; the
    // caller vouches that it is still alive. Refuses (false) null and modules of the table.
    bool ReleaseUnlisted(QVModule* module);
    // Releases the module at that table position; out of range does nothing.
    void ReleaseAt(unsigned index);
    // The module at that table position. Throws ("QVModManager", "op []", "index out of bounds").
    QVModule* operator[](unsigned index);
    unsigned GetCount();

private:
    // LoadModule and LoadModuleUnlisted: the same search, with or without the table entry.
    QVModule* Load(const char* fileName, int& status, bool enterInTable);
    // ReleaseMod on the module (when its library has one), then frees the library.
    static bool Unload(QVModule* module);

    QVPtrList<QVModule> table;  // loaded modules in load order
};

// This library's module manager.
QVModManager& GetModManager();
