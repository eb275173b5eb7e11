#include "plugin/package/EntryName.h"

namespace
{
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsDriveLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsParentAt(const std::string& name, std::size_t start, std::size_t end)
{
    return end - start == 2 && name[start] == '.' && name[start + 1] == '.';
}

// Start and end of the last ".." component of the whole name (one between separators or the
// ends); start is npos when there is none.
void FindLastParentComponent(const std::string& name, std::size_t& start, std::size_t& end)
{
    start = std::string::npos;
    end = 0;
    std::size_t from = 0;
    while (from <= name.size())
    {
        std::size_t to = from;
        while (to < name.size() && !IsSeparator(name[to]))
            ++to;
        if (IsParentAt(name, from, to))
        {
            start = from;
            end = to;
        }
        from = to + 1;
    }
}
}  // namespace

std::vector<std::string> ConfineEntryName(const std::string& stored)
{
    // The rest of the name begins at `begin`, which only moves forward: one pass over the name
    // whatever it holds (a name of thousands of drives is no more work than a plain one).
    // Components of the rest are those of the whole name, except the first one when a drive was
    // cut from its front: so the last ".." of the rest is the name's last one when that lies in
    // the rest, else the rest's first component when that is "..".
    std::size_t lastStart = 0;
    std::size_t lastEnd = 0;
    FindLastParentComponent(stored, lastStart, lastEnd);
    const std::size_t size = stored.size();
    std::size_t begin = 0;
    for (bool changed = true; changed;)
    {
        changed = false;
        if (size - begin >= 2 && stored[begin + 1] == ':' && IsDriveLetter(stored[begin]))
        {
            begin += 2;
            changed = true;
        }
        while (begin < size && IsSeparator(stored[begin]))
        {
            ++begin;
            changed = true;
        }
        if (lastStart != std::string::npos && lastStart >= begin)
        {
            begin = lastEnd;
            changed = true;
        }
        else if (size - begin >= 2 && (size - begin == 2 || IsSeparator(stored[begin + 2])) &&
                 IsParentAt(stored, begin, begin + 2))
        {
            begin += 2;
            changed = true;
        }
    }

    std::vector<std::string> components;
    std::size_t start = begin;
    while (start < size)
    {
        std::size_t end = start;
        while (end < size && !IsSeparator(stored[end]))
            ++end;
        if (end > start && !(end - start == 1 && stored[start] == '.'))
            components.push_back(stored.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

bool EndsWithSeparator(const std::string& stored)
{
    return !stored.empty() && IsSeparator(stored.back());
}
