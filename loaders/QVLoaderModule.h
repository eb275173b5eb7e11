#pragma once

#include "core/string/QVString.h"
#include "modules/QVModCollection.h"
#include "modules/QVModule.h"

// Kind interface of the loader modules (property files, images, meshes). A host object that
// wants a file loaded (a property set, an image, a mesh) holds a module collection of loaders;
// it hands a pointer to that collection part, together with the file name, to the first loader
// whose CanLoad accepts the name. The loader converts the pointer back to the host object.
//
// The virtual operations follow the three slots of QVModule in this order, a contract between
// separately built libraries: CanLoad (text, wide, narrow), Load (same three), Save (same three).
// Wide file names are the system's 16-bit texts (unsigned short) on every target.
//
// A concrete loader overrides CanLoad(const QVString&) when it needs to, and always
// Load(QVModCollection*, const QVString&) and Save(QVModCollection*, const QVString&); it should
// add `using QVLoaderModule::Load; using QVLoaderModule::Save;` so the pointer forms stay visible.
class QVLoaderModule : public QVModule
{
public:
    // Description and extension empty (8-bit, room for 16 characters).
    QVLoaderModule();
    virtual ~QVLoaderModule();

    // Slot 3. True when the extension member is "any", or when the name's extension (after the
    // last dot that is neither the first nor the last character), folded to lower case, equals it.
    virtual bool CanLoad(const QVString& fileName);
    // Slots 4 and 5: CanLoad on a temporary 16-bit or 8-bit copy of the name (null: empty name).
    virtual bool CanLoad(const unsigned short* fileName);
    virtual bool CanLoad(const char* fileName);

    // Slot 6. Loads the file into the host object whose module collection part is client.
    // False when the file cannot be read or client is not an object this loader fills.
    virtual bool Load(QVModCollection* client, const QVString& fileName) = 0;
    // Slots 7 and 8: Load with a temporary 16-bit or 8-bit copy of the name.
    virtual bool Load(QVModCollection* client, const unsigned short* fileName);
    virtual bool Load(QVModCollection* client, const char* fileName);

    // Slot 9. Writes the host object to the file. False when it cannot be written.
    virtual bool Save(QVModCollection* client, const QVString& fileName) = 0;
    // Slots 10 and 11: Save with a temporary 16-bit or 8-bit copy of the name.
    virtual bool Save(QVModCollection* client, const unsigned short* fileName);
    virtual bool Save(QVModCollection* client, const char* fileName);

    // A short text naming the file kind; informational.
    QVString& GetDescription() { return m_description; }
    // The accepted extension in lower case without the dot, or "any".
    QVString& GetExtension() { return m_extension; }

protected:
    void SetDescription(const QVString& text) { m_description.Assign(text); }
    // Stores the extension folded to lower case (A-Z only), as CanLoad compares it.
    void SetExtension(const QVString& text);

private:
    QVString m_description;
    QVString m_extension;
};
