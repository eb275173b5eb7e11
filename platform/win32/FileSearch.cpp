#include "platform/FileSearch.h"

#include <io.h>

void QVFindFiles(const char* pattern, QVFoundFileFunction found, void* context)
{
    if (pattern == nullptr || found == nullptr)
        return;
    _finddata_t entry;
    const intptr_t search = _findfirst(pattern, &entry);
    if (search == -1)
        return;
    do
    {
        found(entry.name, context);
    } while (_findnext(search, &entry) == 0);
    _findclose(search);
}
