#include "modules/QVModCollection.h"

#include "core/string/TextCompare.h"
#include "modules/QVModManager.h"

#include <cstring>

namespace
{

// CompareText for a descriptor string of either encoding against a plain text.
int CompareDescriptor(const QVString& value, const char* text)
{
    if (value.GetEncoding() == QVString::Wide)
        return CompareWideText(value.GetWideBuffer(), text);
    return CompareText(value.GetBuffer(), text);
}

// The module's class: the first word of the object, its table of virtual operations.
QVMapKey ClassKey(const QVModule* module)
{
    QVMapKey key = 0;
    std::memcpy(&key, static_cast<const void*>(module), sizeof key);
    return key;
}

}  // namespace

QVModCollection::QVModCollection(int tagValue, const char* typeText) : tag(tagValue), type(typeText)
{
    Query(typeText, nullptr);
}

QVModCollection::~QVModCollection() { GetModManager().ReleaseHeld(this); }

int QVModCollection::Query(const char* wantedType, const char* wantedSubtype)
{
    QVModManager& manager = GetModManager();
    // What the table held before: the modules the scan adds are this collection's.
    HashMap before;
    for (unsigned i = 0; i < manager.GetCount(); ++i)
        before.Insert(reinterpret_cast<QVMapKey>(manager[i]), manager[i]);
    manager.LoadModules(wantedType, wantedSubtype);
    int entered = 0;
    const unsigned count = manager.GetCount();
    for (unsigned i = 0; i < count; ++i)
    {
        QVModule* module = manager[i];
        void* found = nullptr;
        const bool loadedNow = !before.Find(reinterpret_cast<QVMapKey>(module), found);
        if (loadedNow)
            manager.Hold(this, module, true);
        if (wantedType != nullptr && CompareDescriptor(module->GetType(), wantedType) != 0)
            continue;
        if (wantedSubtype != nullptr && CompareDescriptor(module->GetSubtype(), wantedSubtype) != 0)
            continue;
        // Objects of one module class share a key: the later replaces the earlier.
        if (modules.Insert(ClassKey(module), module))
            ++entered;
    }
    // What another collection's scan loaded stays while this collection maps it.
    for (unsigned i = 0; i < modules.GetCount(); ++i)
        manager.Hold(this, static_cast<QVModule*>(modules[i]), false);
    return entered;
}
