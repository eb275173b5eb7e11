#pragma once

#include "core/containers/HashMap.h"
#include "core/object/QVObject.h"
#include "core/string/QVString.h"
#include "loaders/QVPropertyEntry.h"
#include "loaders/detail/MapTree.h"
#include "modules/QVModCollection.h"

#include <cstdint>

// Class code of QVProperties, also the tag of its module collection.
const std::int32_t QV_CLASS_PROPERTIES = 4106;

// A set of key=value texts that property loader modules fill from files and write back.
//
// Keys are told apart by their 32-bit hash alone (HashKey): two keys with one hash are one entry,
// which keeps the key text of its first insertion and the value set last. A text of hexadecimal
// digits hashes to its value, so "10" and "0x10" name one entry.
//
// At construction the set gathers every module of type "Properties Loader" that the module
// manager can load; Load hands the file to them. Loaders receive the module collection part and
// convert it back with FromModCollection. Layout: the object part, the module collection part,
// the encoding, the map.
class QVProperties : public QVObject, private QVModCollection
{
public:
    // Character width of saved files: 0 = 8-bit, 1 = 16-bit (every host of the system uses 0).
    explicit QVProperties(short encoding = 0);
    // Destroys every entry, then the module collection.
    virtual ~QVProperties();

    QVProperties(const QVProperties&) = delete;
    QVProperties& operator=(const QVProperties&) = delete;

    // Hands the file to the collected loaders in collection order: true at the first whose
    // CanLoad accepts the name and whose Load succeeds; false when none does (or there is none).
    // Entries loaded add to or replace the present ones; nothing is removed.
    bool Load(const QVString& fileName);

    // Copies the value of key's entry into value (its width included) and returns true; false,
    // value untouched, when there is no such entry.
    bool Get(const QVString& key, QVString& value) const;
    // Sets key's value, creating the entry (with a copy of key) when the hash is new. True when
    // an entry was created; false when an existing value was replaced, or when memory for a new
    // entry was not available (then nothing changed).
    bool Set(const QVString& key, const QVString& value);
    // Destroys every entry and empties the map.
    void Clear();

    // Number of entries.
    std::uint32_t GetCount() const { return m_map.GetCount(); }
    short GetEncoding() const { return m_encoding; }
    // The entries by key hash, for walking and inspecting; owned by the set.
    const HashMap& GetMap() const { return m_map; }

    // Calls visit(const QVPropertyEntry&) for every entry in ascending hash order.
    template <typename Visit>
    void ForEachEntry(Visit visit) const
    {
        qv_map_tree::VisitInOrder(m_map, [&](QVMapKey, void* value)
                                  { visit(*static_cast<const QVPropertyEntry*>(value)); });
    }

    // Rebuilds the map's tree balanced (every subtree rooted at its middle entry), in time
    // linear in the entries. Loaders call it after filling the set. False when the memory for
    // the rebuild was not available (the map then works as before, only deeper).
    bool RebalanceMap() { return qv_map_tree::Rebalance(m_map); }

    // The module collection part handed to loaders as their client.
    QVModCollection* GetModCollection() { return this; }
    // The property set whose module collection part is client; null when client is null or is
    // the collection of another kind of owner (a mesh, an image), told by its tag.
    static QVProperties* FromModCollection(QVModCollection* client);

    // The key hash: the value of a hexadecimal text (an optional "0x" prefix, the last eight
    // digits count); otherwise a shift-add-xor hash of the characters, 8-bit ones sign-extended
    // to 16 bits. The empty text hashes to 0.
    static std::uint32_t HashKey(const QVString& key);

private:
    std::int16_t m_encoding;
    HashMap m_map;  // key hash -> QVPropertyEntry*, owned
};
