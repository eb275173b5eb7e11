#pragma once

#include "core/containers/HashMap.h"
#include "core/string/QVString.h"
#include "modules/QVModule.h"

// The loaded modules of one type, gathered for an owner (a world, a mesh, a property set, an
// image) that wants every module of that kind. Modules are keyed by their class, so several
// objects of one module class take one entry. Loader modules get a pointer to the collection
// inside its owner and convert it back to the owner, so it sits at a fixed place in each owner.
// Modules whose constructor leaves the file name empty are loaded anew by every scan, so each
// collection releases what its scans loaded: owners made and destroyed in a loop keep the
// manager's table bounded.
class QVModCollection
{
public:
    // Stores tag and type, then runs Query(type, null).
    QVModCollection(int tag, const char* type);
    // Releases the modules that its scans loaded, unless another collection still holds them
    // (modules loaded otherwise stay), then frees the map's nodes.
    ~QVModCollection();

    QVModCollection(const QVModCollection&) = delete;
    QVModCollection& operator=(const QVModCollection&) = delete;

    // Has the manager load the modules of that type, then maps every module of the manager's
    // table that matches type and subtype (each when given). Returns the number entered. The
    // modules the scan loaded are this collection's: they go when it goes.
    int Query(const char* type, const char* subtype);

    void SetTag(int value) { tag = value; }
    int GetTag() const { return tag; }
    // Collected modules in key order.
    unsigned GetCount() const { return modules.GetCount(); }
    QVModule* GetAt(unsigned index) const { return static_cast<QVModule*>(modules[index]); }
    const QVString& GetType() const { return type; }

private:
    int tag;
    HashMap modules;
    QVString type;
};
