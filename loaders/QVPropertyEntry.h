#pragma once

#include "core/object/QVObject.h"
#include "core/string/QVString.h"

// Class code of QVPropertyEntry.
const std::int32_t QV_CLASS_PROPERTY_ENTRY = 4105;

// One key=value record of a property set. Entries live in memory from the allocation hook and
// belong to the property set's map, which creates and destroys them.
class QVPropertyEntry : public QVObject
{
public:
    // Key and value empty (8-bit, room for 16 characters).
    QVPropertyEntry();
    virtual ~QVPropertyEntry();

    QVPropertyEntry(const QVPropertyEntry&) = delete;
    QVPropertyEntry& operator=(const QVPropertyEntry&) = delete;

    // The key text of the entry's first insertion.
    QVString& GetKey() { return m_key; }
    const QVString& GetKey() const { return m_key; }
    // The value last set, in the width it was given.
    QVString& GetValue() { return m_value; }
    const QVString& GetValue() const { return m_value; }

private:
    QVString m_key;
    QVString m_value;
};
