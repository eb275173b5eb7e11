#include "loaders/QVPropertyEntry.h"

QVPropertyEntry::QVPropertyEntry()
    : QVObject(QV_CLASS_PROPERTY_ENTRY), m_key(16, QVString::Narrow), m_value(16, QVString::Narrow)
{
}

QVPropertyEntry::~QVPropertyEntry() = default;
