#pragma once

#include "core/containers/QVPtrList.h"
#include "core/object/QVObject.h"
#include "modules/QVModule.h"

#include <vector>

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
    // Loads every "*.qvm" of the working directory, then of the runtime directory, then of the
    // places the modules are installed in (platform/ModulePlaces.h) that are not one of those,
    // keeping the new modules of the given type and subtype (all when type is null). Returns the
    // table count.
    unsigned LoadModules(const char* type, const char* subtype);
    // For module collections: notes that holder (a collection) holds module, one that its own
    // scan loaded (loadedByHolder) or one that another collection's scan loaded. Modules loaded
    // otherwise (by name, or by a host's own LoadModules) are not held and stay until released.
    void Hold(const void* holder, QVModule* module, bool loadedByHolder);
    // Gives up what holder held: a module that no collection holds any more is released, so that
    // collections made and destroyed in a loop leave the table as it was.
    void ReleaseHeld(const void* holder);

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
    // LoadModule and LoadModuleUnlisted: the same search, with or without the table entry. A
    // new module's library is looked for by path when one is given, else by fileName.
    QVModule* Load(const char* fileName, int& status, bool enterInTable,
                   const char* path = nullptr);
    // ReleaseMod on the module (when its library has one), then frees the library.
    static bool Unload(QVModule* module);

    // A collection and a module that its scan, or another collection's, loaded.
    struct Holding
    {
        const void* holder;
        QVModule* module;
    };
    // A module asked for by name, or released, is no collection's any more.
    void Forget(const QVModule* module);

    QVPtrList<QVModule> table;      // loaded modules in load order
    std::vector<Holding> holdings;  // runtime heap, as the manager itself; empty: no memory kept
};

// This library's module manager.
QVModManager& GetModManager();
