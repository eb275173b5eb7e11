#include "plugin/package/EntryName.h"

namespace
{
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsDriveLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Index just after the last ".." component (one between separators or the ends), or 0.
std::size_t AfterLastParentComponent(const std::string& name)
{
    std::size_t after = 0;
    std::size_t start = 0;
    while (start <= name.size())
    {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        if (end - start == 2 && name[start] == '.' && name[start + 1] == '.')
            after = end;
        start = end + 1;
    }
    return after;
}
}  // namespace

std::vector<std::string> ConfineEntryName(const std::string& stored)
{
    std::string rest = stored;
    for (bool changed = true; changed;)
    {
        changed = false;
        if (rest.size() >= 2 && rest[1] == ':' && IsDriveLetter(rest[0]))
        {
            rest.erase(0, 2);
            changed = true;
        }
        std::size_t leading = 0;
        while (leading < rest.size() && IsSeparator(rest[leading]))
            ++leading;
        if (leading > 0)
        {
            rest.erase(0, leading);
            changed = true;
        }
        const std::size_t cut = AfterLastParentComponent(rest);
        if (cut > 0)
        {
            rest.erase(0, cut);
            changed = true;
        }
    }

    std::vector<std::string> components;
    std::size_t start = 0;
    while (start < rest.size())
    {
        std::size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end]))
            ++end;
        std::string component = rest.substr(start, end - start);
        if (!component.empty() && component != ".")
            components.push_back(component);
        start = end + 1;
    }
    return components;
}

bool EndsWithSeparator(const std::string& stored)
{
    return !stored.empty() && IsSeparator(stored.back());
}
