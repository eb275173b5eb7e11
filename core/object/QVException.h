#pragma once

#include "core/object/QVObject.h"

// The one exception type of the system. Core classes throw it by value when a caller breaks a
// precondition (index out of range, dimension mismatch, empty list); nothing catches it, so a
// throw ends the program. It allocates nothing: the message lives inside the object.
class QVException : public QVObject
{
public:
    // Size of the message buffer, terminator included; longer messages are cut.
    static constexpr int MessageSize = 300;

    // Message "Exception in <method> of <className>:<message>". Null texts count as empty.
    QVException(const char* className, const char* method, const char* message);

    // As above, with the text that object->ToString writes in place of the class name; used by
    // containers that have no fixed class name of their own.
    QVException(const QVObject* object, const char* method, const char* message);

    QVException(const QVException& other) = default;  // ClassId 4098, message copied
    QVException& operator=(const QVException& other) = default;

    // Slot 0. Copies the message into out, cut to fit the TextSize bytes every caller provides.
    void ToString(char* out) const override;

    // Slot 1.
    virtual ~QVException() = default;

    // The whole message, NUL-terminated; valid while the exception lives.
    const char* GetMessage() const { return m_message; }

private:
    void Build(const char* className, const char* method, const char* message);

    char m_message[MessageSize];
};
