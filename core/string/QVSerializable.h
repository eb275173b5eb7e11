#pragma once

// Status codes of the serialisation operations.
enum QVSerialStatus : short
{
    QV_SERIAL_OK = 0,
    QV_SERIAL_UNSUPPORTED = -1,  // mode is not 0 (the only flat form there is)
    QV_SERIAL_TOO_SHORT = -2     // the data or the room is too short
};

// Second base of objects that write themselves into, and read themselves from, a flat byte
// buffer. Its two slots are part of the layout shared between libraries: keep their order.
class QVSerializable
{
public:
    // Slot 0. Reads the object from data; *size holds the bytes available on entry and the bytes
    // consumed (or needed) on return. Returns a QVSerialStatus; the object is unchanged on failure.
    virtual short Deserialize(const void* data, int* size, int mode) = 0;

    // Slot 1. Writes the object into data; *size holds the room on entry and the bytes needed on
    // return. Returns a QVSerialStatus; nothing is written on failure.
    virtual short Serialize(void* data, unsigned* size, int mode) = 0;

protected:
    // Never deleted through this interface, so no destructor slot.
    ~QVSerializable() = default;
};
