#include "modules/QVModManager.h"

#include "core/object/QVException.h"
#include "modules/ModuleLoadFailure.h"
#include "modules/RunTimePath.h"
#include "platform/Directory.h"
#include "platform/FileSearch.h"
#include "platform/ModulePlaces.h"
#include "platform/ProgramDirectory.h"

#include <algorithm>
#include <new>
#include <string>

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

// A place being listed and the candidates its files join, as paths.
struct PlaceListing
{
    QVList<QVString>* candidates;
    const std::string* place;
};

void InsertPath(const char* name, void* context)
{
    const PlaceListing& listing = *static_cast<PlaceListing*>(context);
    QVString path(listing.place->c_str());
    path.AppendChar(QVPathSeparator());
    path.Append(name);
    // Insertion lands after the cursor: put it on the last name first.
    if (listing.candidates->GetCount() > 0)
        (void)(*listing.candidates)[listing.candidates->GetCount() - 1];
    listing.candidates->Insert(path);
}

// Appends the module files of the places the modules are installed in, as paths: they are opened
// there, not looked for by the library search (test programs and a library loaded by a foreign
// host have no run path to the program's directory). A place that is a directory listed before
// is left out (its modules would be loaded once more), and so is one that cannot be read (listing
// the working directory in its place, as for the runtime directory, would only repeat it).
void AppendInstalledPlaces(QVList<QVString>& candidates, std::vector<std::string> listed)
{
    for (const std::string& place : QVInstalledModulePlaces())
    {
        const bool seen = std::any_of(listed.begin(), listed.end(),
                                      [&](const std::string& other)
                                      { return QVSameDirectory(other.c_str(), place.c_str()); });
        if (seen)
            continue;
        listed.push_back(place);
        PlaceListing listing = {&candidates, &place};
        QVFindFiles(place.c_str(), ModulePattern, InsertPath, &listing);
    }
}

// The file name of a candidate: a path's last part, a bare name as it is.
const char* FileNameOf(const char* candidate)
{
    const char* name = candidate;
    for (const char* c = candidate; *c != '\0'; ++c)
    {
        if (*c == QVPathSeparator() || *c == '/')
            name = c + 1;
    }
    return name;
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
    QVModule* module = Load(fileName, status, true);
    if (module == nullptr)
        ReportModuleLoadFailure(fileName);
    // The caller keeps what it asked for by name: no collection may release it under it.
    if (status == QV_LOAD_ALREADY)
        Forget(module);
    return module;
}

QVModule* QVModManager::LoadModule(const char* fileName)
{
    int status = QV_LOAD_FAILED;
    return LoadModule(fileName, status);
}

QVModule* QVModManager::LoadModuleUnlisted(const char* fileName, int& status)
{
    return Load(fileName, status, false);
}

QVModule* QVModManager::Load(const char* fileName, int& status, bool enterInTable, const char* path)
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

    QVHandle library = LoadDynLibrary(path != nullptr ? path : fileName);
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
    // The working directory, or the start directory that stands for it (see SetStartDirectory).
    QVString startDirectory;
    GetStartDirectory(startDirectory);
    std::vector<std::string> listed = {startDirectory.GetLength() > 0 ? startDirectory.GetBuffer()
                                                                      : "."};
    if (ownDirectory.GetLength() > 0)
    {
        AppendFilesIn(candidates, ownDirectory.GetBuffer());
        listed.emplace_back(ownDirectory.GetBuffer());
        // Its host's directory is the browser's, no installation of ours: its modules lie in
        // its own directory, listed above.
        listed.push_back(QVProgramDirectory());
    }
    AppendFilesIn(candidates, runTimeDirectory.GetBuffer());
    if (runTimeDirectory.GetLength() > 0)
        listed.emplace_back(runTimeDirectory.GetBuffer());
    // Then where the modules were installed, so that a program started from anywhere finds them.
    AppendInstalledPlaces(candidates, listed);

    const QVString wantedType(type);
    const QVString wantedSubtype(subtype);
    const unsigned candidateCount = candidates.GetCount();
    for (unsigned i = 0; i < candidateCount; ++i)
    {
        int status = QV_LOAD_FAILED;
        // A module already loaded is recognised by its file name wherever it was listed.
        const char* candidate = candidates[i].GetBuffer();
        QVModule* module = Load(FileNameOf(candidate), status, true, candidate);
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
    Forget(module);
    return Unload(module);
}

void QVModManager::Hold(const void* holder, QVModule* module, bool loadedByHolder)
{
    const auto held = [&](const Holding& h) { return h.module == module; };
    const bool collected = std::any_of(holdings.begin(), holdings.end(), held);
    // Only what a collection's scan loaded is ever released by collections.
    if (holder == nullptr || module == nullptr || (!loadedByHolder && !collected))
        return;
    const bool already =
        std::any_of(holdings.begin(), holdings.end(),
                    [&](const Holding& h) { return h.holder == holder && h.module == module; });
    if (already)
        return;
    try
    {
        holdings.push_back(Holding{holder, module});
    }
    catch (const std::bad_alloc&)
    {
        // Without the note the module simply stays loaded, as it would have before.
    }
}

void QVModManager::ReleaseHeld(const void* holder)
{
    // One holding at a time, without memory of its own: this runs in destructors.
    for (std::size_t i = 0; i < holdings.size();)
    {
        if (holdings[i].holder != holder)
        {
            ++i;
            continue;
        }
        QVModule* module = holdings[i].module;
        holdings.erase(holdings.begin() + static_cast<std::ptrdiff_t>(i));
        const bool stillHeld = std::any_of(holdings.begin(), holdings.end(),
                                           [&](const Holding& h) { return h.module == module; });
        if (!stillHeld)
        {
            ReleaseModule(module);
            i = 0;  // the release may have changed the holdings
        }
    }
    if (holdings.empty())
        std::vector<Holding>().swap(holdings);  // a library unloaded later leaves nothing behind
}

void QVModManager::Forget(const QVModule* module)
{
    holdings.erase(std::remove_if(holdings.begin(), holdings.end(),
                                  [&](const Holding& h) { return h.module == module; }),
                   holdings.end());
    if (holdings.empty())
        std::vector<Holding>().swap(holdings);
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
