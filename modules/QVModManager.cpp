#include "modules/QVModManager.h"

#include "core/object/QVException.h"
#include "modules/RunTimePath.h"

#include <new>

namespace
{

const char MemoryModuleFile[] = "qvmemmgr.qvm";
const char ModulePattern[] = "*.qvm";

// Appends the module files of directory to candidates.
void AppendFilesIn(QVList<QVString>& candidates, const char* directory)
{
    QVList<QVString> found;
    FindFilesIn(directory, found, ModulePattern);
    const unsigned count = found.GetCount();
    // Insertion lands after the cursor: put it on the last name first.
    if (candidates.GetCount() > 0)
        (void)candidates[candidates.GetCount() - 1];
    for (unsigned i = 0; i < count; ++i)
        candidates.Insert(found[i]);
}

}  // namespace

QVModManager::QVModManager() : QVObject(0) {}

QVModManager::~QVModManager()
{
    // ReleaseAt takes the module out of the table, so the next one moves into its position.
    const QVString memoryModule(MemoryModuleFile);
    unsigned index = 0;
    while (index < table.GetCount())
    {
        if (table[index]->GetFileName().Equals(memoryModule))
            ++index;
        else
            ReleaseAt(index);
    }
}

QVModule* QVModManager::LoadModule(const char* fileName, int& status)
{
    return Load(fileName, status, true);
}

QVModule* QVModManager::LoadModule(const char* fileName)
{
    int status = QV_LOAD_FAILED;
    return Load(fileName, status, true);
}

QVModule* QVModManager::LoadModuleUnlisted(const char* fileName, int& status)
{
    return Load(fileName, status, false);
}

QVModule* QVModManager::Load(const char* fileName, int& status, bool enterInTable)
{
    status = QV_LOAD_FAILED;
    if (fileName == nullptr)
        return nullptr;
    const QVString requested(fileName);
    const unsigned count = table.GetCount();
    // An empty request names no library, and must not find the modules that left their file
    // name empty.
    for (unsigned i = 0; i < count && requested.GetLength() > 0; ++i)
    {
        QVModule* module = table[i];
        if (module->GetFileName().Equals(requested))
        {
            status = QV_LOAD_ALREADY;
            return module;
        }
    }

    QVHandle library = LoadDynLibrary(fileName);
    if (library == nullptr)
        return nullptr;
    QVCreateModFunction create =
        reinterpret_cast<QVCreateModFunction>(GetDynSymbol(library, "CreateMod"));
    // A library whose CreateMod hands out nothing (its allocation failed) fails like one
    // without CreateMod.
    QVModule* module = create != nullptr ? create() : nullptr;
    if (module == nullptr)
    {
        FreeDynLibrary(library);
        return nullptr;
    }
    module->SetLibraryHandle(library);
    if (enterInTable)
    {
        // Insertion lands after the cursor: put it on the last module so that the new one is
        // appended whatever moved the cursor before.
        if (count > 0)
            (void)table[count - 1];
        table.Insert(module);
        if (table.GetCount() == count)
        {
            // No memory for the table entry: a module nobody can find or release would leak
            // with its library, so the load fails instead.
            Unload(module);
            return nullptr;
        }
    }
    status = QV_LOAD_NEW;
    return module;
}

unsigned QVModManager::LoadModules(const char* type, const char* subtype)
{
    QVString runTimeDirectory;
    GetRunTimePath(runTimeDirectory);  // no key: empty, and the working directory is scanned twice

    QVList<QVString> candidates;
    FindFiles(candidates, ModulePattern);
    // A library loaded from anywhere by a foreign host also scans its own directory, after the
    // working directory (see SetOwnDirectory).
    QVString ownDirectory;
    GetOwnDirectory(ownDirectory);
    if (ownDirectory.GetLength() > 0)
        AppendFilesIn(candidates, ownDirectory.GetBuffer());
    AppendFilesIn(candidates, runTimeDirectory.GetBuffer());

    const QVString wantedType(type);
    const QVString wantedSubtype(subtype);
    const unsigned candidateCount = candidates.GetCount();
    for (unsigned i = 0; i < candidateCount; ++i)
    {
        int status = QV_LOAD_FAILED;
        QVModule* module = LoadModule(candidates[i].GetBuffer(), status);
        if (module == nullptr || type == nullptr || status == QV_LOAD_ALREADY)
            continue;
        // Only modules loaded by this call are filtered; those loaded before always stay.
        const bool typeMatches = module->GetType().Equals(wantedType);
        const bool subtypeMatches =
            subtype == nullptr || module->GetSubtype().Equals(wantedSubtype);
        if (!typeMatches || !subtypeMatches)
            ReleaseModule(module);
    }
    return table.GetCount();
}

bool QVModManager::ReleaseModule(QVModule* module)
{
    // Only a module of the table is known to be alive: any other pointer may name an object that
    // was released already (a second load of a module returns the same object without counting),
    // so it is compared as an address and never followed.
    if (module == nullptr || !table.Remove(module))
        return false;
    return Unload(module);
}

bool QVModManager::ReleaseUnlisted(QVModule* module)
{
    if (module == nullptr)
        return false;
    const unsigned count = table.GetCount();
    for (unsigned i = 0; i < count; ++i)
    {
        if (table[i] == module)
            return false;
    }
    return Unload(module);
}

bool QVModManager::Unload(QVModule* module)
{
    QVHandle library = *module->GetLibraryHandle();
    QVReleaseModFunction release =
        reinterpret_cast<QVReleaseModFunction>(GetDynSymbol(library, "ReleaseMod"));
    // Without ReleaseMod the object cannot be destroyed by its library and is left alone.
    if (release != nullptr)
        release(module);
    return FreeDynLibrary(library);
}

void QVModManager::ReleaseAt(unsigned index)
{
    if (index >= table.GetCount())
        return;
    ReleaseModule(table[index]);
}

QVModule* QVModManager::operator[](unsigned index)
{
    if (index >= table.GetCount())
        throw QVException("QVModManager", "op []", "index out of bounds");
    return table[index];
}

unsigned QVModManager::GetCount() { return table.GetCount(); }

QVModManager& GetModManager()
{
    // Created on first use and never destroyed: modules stay loaded until the process ends, and
    // static objects destroyed late can still use it. It lives in static storage rather than on
    // the heap, so that a module library unloaded before the process ends leaves no manager
    // behind.
    alignas(QVModManager) static unsigned char storage[sizeof(QVModManager)];
    static QVModManager* const manager = ::new (static_cast<void*>(storage)) QVModManager();
    return *manager;
}
