#include "platform/QVCompiledLibrary.h"

namespace
{

// Constant-initialised, so that registrations from static constructors of any order find it.
QVCompiledLibrary* first = nullptr;
QVCompiledLibrary* last = nullptr;

}  // namespace

void QVRegisterCompiledLibrary(QVCompiledLibrary* library)
{
    if (library == nullptr)
        return;
    library->next = nullptr;
    if (last != nullptr)
        last->next = library;
    else
        first = library;
    last = library;
}

const QVCompiledLibrary* QVFirstCompiledLibrary() { return first; }
