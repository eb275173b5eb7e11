#include "core/object/QVException.h"

namespace
{
// Appends source at position `used` of a buffer of `capacity` bytes and returns the new length.
// Stops at the source's terminator or one byte before the end, and always terminates.
int AppendBounded(char* buffer, int capacity, int used, const char* source)
{
    if (source != nullptr)
    {
        while (used < capacity - 1 && *source != '\0')
        {
            buffer[used++] = *source++;
        }
    }
    buffer[used] = '\0';
    return used;
}
}  // namespace

QVException::QVException(const char* className, const char* method, const char* message)
    : QVObject(QV_CLASS_EXCEPTION)
{
    Build(className, method, message);
}

QVException::QVException(const QVObject* object, const char* method, const char* message)
    : QVObject(QV_CLASS_EXCEPTION)
{
    // As large as our own message: an exception describing another exception must not overflow.
    char objectText[MessageSize] = {};
    if (object != nullptr)
    {
        object->ToString(objectText);
    }
    Build(objectText, method, message);
}

void QVException::Build(const char* className, const char* method, const char* message)
{
    int used = AppendBounded(m_message, MessageSize, 0, "Exception in ");
    used = AppendBounded(m_message, MessageSize, used, method);
    used = AppendBounded(m_message, MessageSize, used, " of ");
    used = AppendBounded(m_message, MessageSize, used, className);
    used = AppendBounded(m_message, MessageSize, used, ":");
    AppendBounded(m_message, MessageSize, used, message);
}

void QVException::ToString(char* out) const { AppendBounded(out, TextSize, 0, m_message); }
