#include "apps/qvaplayer/AppletElement.h"

#include <cctype>

bool SameTextIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string AppletElement::Attribute(const std::string& name) const
{
    for (const auto& attribute : attributes)
    {
        if (SameTextIgnoringCase(attribute.first, name))
            return attribute.second;
    }
    return std::string();
}

bool AppletElement::HasAttribute(const std::string& name) const
{
    for (const auto& attribute : attributes)
    {
        if (SameTextIgnoringCase(attribute.first, name))
            return true;
    }
    return false;
}

std::string AppletElement::Source() const
{
    return HasAttribute("src") ? Attribute("src") : Attribute("data");
}

int AppletElement::Size(const std::string& name, int fallback) const
{
    // Browsers read "320", "320px" and " 320" alike: leading blanks, then the digits.
    const std::string text = Attribute(name);
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    int value = 0;
    bool digits = false;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
    {
        value = value * 10 + (text[at] - '0');
        digits = true;
        if (value >= 10000)
            return fallback;
    }
    return digits && value > 0 ? value : fallback;
}
