#pragma once

#include <string>
#include <unordered_set>

// The attribute names of one element seen so far, compared without case (ASCII letters), as
// SameTextIgnoringCase compares them. A hashed set keeps dropping repeated names linear in the
// number of attributes: a page may give one element tens of thousands of them.
class AttributeNames
{
public:
    // Adds name; false when a name equal to it without case was added before.
    bool Insert(const std::string& name);

private:
    std::unordered_set<std::string> lowered;
};
