#pragma once

#include <cstdint>

// Class codes of the core. Renderers and loaders tell objects apart by these codes (and by the
// kind bits of scene nodes), never by a run-time type test, so the values are fixed.
enum QVClassCode : std::int32_t
{
    QV_CLASS_DEFAULT = 0,
    QV_CLASS_EXCEPTION = 4098,
    QV_CLASS_LIST = 4100,
    QV_CLASS_PTRLIST = 4101,
    QV_CLASS_MEMSTREAM = 4104,
    QV_CLASS_VECTOR = 8193,
    QV_CLASS_MATRIX = 8194
};

// Root of the core classes: a class code and one virtual operation that describes the object.
// The layout (table pointer, reserved word, ClassId, reserved word) is shared with separately
// built libraries, so members must not be added or reordered.
//
// The destructor is deliberately not virtual: every class that is deleted through a base pointer
// declares its own virtual destructor, which then takes that class's slot 1.
class QVObject
{
public:
    // Smallest buffer a caller hands to ToString.
    static constexpr int TextSize = 200;

    explicit QVObject(std::int32_t classId = QV_CLASS_DEFAULT);
    QVObject(const QVObject& other) = default;  // copies the three data members
    QVObject& operator=(const QVObject& other) = default;

    // Slot 0. Writes "@AA CC" (address and class code, low 8 bits each, upper-case hex) and a NUL
    // into out, which holds at least TextSize bytes.
    virtual void ToString(char* out) const;

    // The class code given at construction.
    std::int32_t GetClassId() const { return ClassId; }

    ~QVObject() = default;

protected:
    std::int32_t m_reserved0;  // always 0
    std::int32_t ClassId;
    std::int32_t m_reserved1;  // always 0
};
