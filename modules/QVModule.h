#pragma once

#include "core/containers/QVList.h"
#include "core/object/QVObject.h"
#include "core/string/QVString.h"
#include "platform/QVHandle.h"

// Base of every module object. A module library holds exactly one module class and hands out its
// objects through CreateMod/ReleaseMod; hosts talk to them through the virtual operations of the
// module's kind, which follow the three slots declared here.
//
// The member order is a contract between separately built libraries: hosts read some members
// through the non-virtual accessors below, compiled into the host. Do not reorder.
class QVModule : public QVObject
{
public:
    QVModule();
    // Destroys the strings and empties the attribute list; runs this class's (empty) Shutdown.
    virtual ~QVModule();
    // Frees what the module still holds. Empty here; the memory module overrides it.
    virtual void Shutdown();

    QVString& GetFileName() { return fileName; }
    void SetFileName(const QVString& text) { fileName.Assign(text); }
    QVString& GetName() { return name; }
    void SetName(const QVString& text) { name.Assign(text); }
    QVString& GetType() { return type; }
    void SetType(const QVString& text) { type.Assign(text); }
    QVString& GetSubtype() { return subtype; }
    QVString& GetPlatform() { return platform; }
    void SetPlatform(const QVString& text) { platform.Assign(text); }
    // Address of the library handle member; the module manager stores the handle right after
    // CreateMod returned and reads it back when it releases the module.
    QVHandle* GetLibraryHandle() { return &libraryHandle; }
    void SetLibraryHandle(QVHandle& handle) { libraryHandle = handle; }

protected:
    QVList<QVString> attributes;  // unused by every module kind; kept for the layout
    QVHandle libraryHandle;       // null until the manager sets it
    QVString fileName;            // own library file name, or empty (never found by name then)
    QVString name;                // display name
    QVString type;                // module kind: "3D Renderer", "Image Loader", ...
    QVString subtype;             // second selection string; no module sets it
    QVString reservedFirst;
    QVString platform;  // informational, e.g. "All"
    QVString reservedSecond;
};

// The two entry points every module library exports, undecorated.
extern "C"
{
    typedef QVModule* (*QVCreateModFunction)();
    typedef void (*QVReleaseModFunction)(QVModule*);
}
