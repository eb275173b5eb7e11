#include "apps/qvaplayer/AttributeNames.h"

#include <cctype>
#include <utility>

bool AttributeNames::Insert(const std::string& name)
{
    std::string key = name;
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered.insert(std::move(key)).second;
}
