#pragma once

#include <string>
#include <utility>
#include <vector>

// One applet of a page: the attributes of its <embed> or <object> element in page order (names
// as written, values with character references decoded), as the plug-in receives them.
struct AppletElement
{
    std::vector<std::pair<std::string, std::string>> attributes;

    // The value of the first attribute of that name (compared without case), or empty.
    std::string Attribute(const std::string& name) const;
    bool HasAttribute(const std::string& name) const;
    // The package reference: "src" of an embed, "data" of an object (whichever is given).
    std::string Source() const;
    // The width or height attribute as a number of pixels, or fallback when absent or not a
    // positive number below 10000.
    int Size(const std::string& name, int fallback) const;
};

// Text compared without case (ASCII letters).
bool SameTextIgnoringCase(const std::string& a, const std::string& b);
