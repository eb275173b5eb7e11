#include "loaders/QVProperties.h"

#include "core/memory/AllocHook.h"
#include "loaders/QVLoaderModule.h"

#include <new>

namespace
{
const char kLoaderType[] = "Properties Loader";

int HexDigit(unsigned short c)
{
    if (c >= '0' && c <= '9')
    {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f')
    {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F')
    {
        return c - 'A' + 10;
    }
    return -1;
}

void DestroyEntry(void* value)
{
    static_cast<QVPropertyEntry*>(value)->~QVPropertyEntry();
    QVHookFree(&value);
}
}  // namespace

QVProperties::QVProperties(short encoding)
    : QVObject(QV_CLASS_PROPERTIES), QVModCollection(QV_CLASS_PROPERTIES, kLoaderType),
      m_encoding(encoding)
{
}

QVProperties::~QVProperties() { Clear(); }

QVProperties* QVProperties::FromModCollection(QVModCollection* client)
{
    if (client == nullptr || client->GetTag() != QV_CLASS_PROPERTIES)
    {
        return nullptr;
    }
    return static_cast<QVProperties*>(client);
}

std::uint32_t QVProperties::HashKey(const QVString& key)
{
    const int length = key.GetLength();
    // "0x" is a prefix only in front of at least one more character.
    const int first = (length > 2 && key.GetCharAt(0) == '0' && key.GetCharAt(1) == 'x') ? 2 : 0;
    bool hexadecimal = length > 0;
    std::uint32_t h = 0;
    for (int i = first; i < length && hexadecimal; ++i)
    {
        const int digit = HexDigit(key.GetCharAt(i));
        hexadecimal = digit >= 0;
        h = (h << 4) | static_cast<std::uint32_t>(digit);
    }
    if (hexadecimal)
    {
        return h;
    }
    h = 0;
    for (int i = 0; i < length; ++i)
    {
        h += key.GetCharAt(i);
        h += h << 10;
        h ^= h >> 6;
    }
    h += h << 3;
    h ^= h >> 11;
    return h;
}

bool QVProperties::Load(const QVString& fileName)
{
    const unsigned count = QVModCollection::GetCount();
    for (unsigned i = 0; i < count; ++i)
    {
        // Every module of the type "Properties Loader" is a loader module.
        QVLoaderModule* loader = static_cast<QVLoaderModule*>(QVModCollection::GetAt(i));
        if (loader->CanLoad(fileName) && loader->Load(GetModCollection(), fileName))
        {
            return true;
        }
    }
    return false;
}

bool QVProperties::Get(const QVString& key, QVString& value) const
{
    void* found = nullptr;
    if (!m_map.Find(HashKey(key), found))
    {
        return false;
    }
    value.Assign(static_cast<const QVPropertyEntry*>(found)->GetValue());
    return true;
}

bool QVProperties::Set(const QVString& key, const QVString& value)
{
    const QVMapKey hash = HashKey(key);
    void* found = nullptr;
    if (m_map.Find(hash, found))
    {
        static_cast<QVPropertyEntry*>(found)->GetValue().Assign(value);
        return false;
    }
    void* block = nullptr;
    QVHookAllocate(&block, static_cast<int>(sizeof(QVPropertyEntry)));
    if (block == nullptr)
    {
        return false;
    }
    QVPropertyEntry* entry = ::new (block) QVPropertyEntry();
    entry->GetKey().Assign(key);
    if (!m_map.Insert(hash, entry))
    {
        DestroyEntry(entry);
        return false;
    }
    entry->GetValue().Assign(value);
    return true;
}

void QVProperties::Clear()
{
    qv_map_tree::VisitInOrder(m_map, [](QVMapKey, void* value) { DestroyEntry(value); });
    m_map.Clear();
}
