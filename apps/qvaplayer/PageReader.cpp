#include "apps/qvaplayer/PageReader.h"

#include "apps/qvaplayer/AttributeNames.h"
#include "core/string/Utf8Encode.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

const char* const AppletMimeType = "application/qv-applet";

namespace
{
bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Whether text at position at starts with prefix, compared without case.
bool StartsWithIgnoringCase(const std::string& text, std::size_t at, const char* prefix)
{
    for (std::size_t i = 0; prefix[i] != '\0'; ++i)
    {
        if (at + i >= text.size() || std::tolower(static_cast<unsigned char>(text[at + i])) !=
                                         static_cast<unsigned char>(prefix[i]))
            return false;
    }
    return true;
}

void AppendUtf8(std::string& out, unsigned long code)
{
    if (code < 0x100)
    {
        // 8-bit text: the plug-in hands values on as bytes.
        out += static_cast<char>(code);
    }
    else
    {
        QVAppendUtf8(out, code);
    }
}

// A tag read from the page: its name in lower case, its attributes and their names.
struct Tag
{
    std::string name;
    AppletElement element;
    AttributeNames names;
};

// Reads the tag whose name starts at position at; returns the position after its '>'.
std::size_t ReadTag(const std::string& page, std::size_t at, Tag& tag)
{
    std::size_t end = at;
    while (end < page.size() && std::isalnum(static_cast<unsigned char>(page[end])))
        ++end;
    tag.name = Lower(page.substr(at, end - at));
    at = end;
    while (at < page.size())
    {
        while (at < page.size() && (IsBlank(page[at]) || page[at] == '/'))
            ++at;
        if (at >= page.size())
            break;
        if (page[at] == '>')
            return at + 1;
        std::size_t nameEnd = at;
        while (nameEnd < page.size() && !IsBlank(page[nameEnd]) && page[nameEnd] != '=' &&
               page[nameEnd] != '>' && !(page[nameEnd] == '/' && nameEnd > at))
            ++nameEnd;
        std::string name = page.substr(at, nameEnd - at);
        at = nameEnd;
        std::size_t look = at;
        while (look < page.size() && IsBlank(page[look]))
            ++look;
        std::string value;
        if (look < page.size() && page[look] == '=')
        {
            at = look + 1;
            while (at < page.size() && IsBlank(page[at]))
                ++at;
            if (at < page.size() && (page[at] == '"' || page[at] == '\''))
            {
                const std::size_t close = page.find(page[at], at + 1);
                const std::size_t stop = close == std::string::npos ? page.size() : close;
                value = page.substr(at + 1, stop - at - 1);
                at = stop == page.size() ? stop : stop + 1;
            }
            else
            {
                std::size_t stop = at;
                while (stop < page.size() && !IsBlank(page[stop]) && page[stop] != '>')
                    ++stop;
                value = page.substr(at, stop - at);
                at = stop;
            }
        }
        if (tag.names.Insert(name))
            tag.element.attributes.emplace_back(name, DecodeCharacterReferences(value));
    }
    return page.size();
}

// The position after the end tag </name> from position at on (the end of the page without one).
std::size_t SkipRawText(const std::string& page, std::size_t at, const std::string& name)
{
    const std::string endTag = "</" + name;
    for (std::size_t found = page.find("</", at); found != std::string::npos;
         found = page.find("</", found + 2))
    {
        if (StartsWithIgnoringCase(page, found, endTag.c_str()))
        {
            const std::size_t close = page.find('>', found);
            return close == std::string::npos ? page.size() : close + 1;
        }
    }
    return page.size();
}
}  // namespace

std::string DecodeCharacterReferences(const std::string& text)
{
    static const struct
    {
        const char* name;
        char character;
    } named[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    for (std::size_t at = 0; at < text.size();)
    {
        // A reference ends within 10 characters: looking no further keeps a run of '&' linear.
        std::size_t semicolon = std::string::npos;
        for (std::size_t i = at + 1; text[at] == '&' && i < std::min(text.size(), at + 11); ++i)
        {
            if (text[i] == ';')
            {
                semicolon = i;
                break;
            }
        }
        if (semicolon == std::string::npos)
        {
            out += text[at++];
            continue;
        }
        const std::string body = text.substr(at + 1, semicolon - at - 1);
        bool decoded = false;
        if (body.size() > 1 && body[0] == '#')
        {
            const bool hex = body[1] == 'x' || body[1] == 'X';
            const std::string digits = body.substr(hex ? 2 : 1);
            char* end = nullptr;
            const unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
            if (!digits.empty() && *end == '\0' &&
                std::isxdigit(static_cast<unsigned char>(digits[0])) && code > 0 &&
                code <= 0x10FFFF)
            {
                AppendUtf8(out, code);
                decoded = true;
            }
        }
        else
        {
            for (const auto& entry : named)
            {
                if (Lower(body) == entry.name)
                {
                    out += entry.character;
                    decoded = true;
                }
            }
        }
        if (decoded)
            at = semicolon + 1;
        else
            out += text[at++];
    }
    return out;
}

bool IsAppletElement(const AppletElement& element)
{
    std::string type = element.Attribute("type");
    type = type.substr(0, type.find(';'));
    while (!type.empty() && IsBlank(type.back()))
        type.pop_back();
    while (!type.empty() && IsBlank(type.front()))
        type.erase(0, 1);
    if (SameTextIgnoringCase(type, AppletMimeType))
        return true;
    std::string source = element.Source();
    source = source.substr(0, source.find_first_of("?#"));
    return source.size() >= 4 && SameTextIgnoringCase(source.substr(source.size() - 4), ".qva");
}

std::vector<AppletElement> ReadAppletElements(const std::string& page)
{
    std::vector<AppletElement> applets;
    int objectDepth = 0;         // > 0 inside an applet object, counting objects nested in it
    AttributeNames objectNames;  // the attribute names of that applet object so far
    std::size_t at = 0;
    while ((at = page.find('<', at)) != std::string::npos)
    {
        if (page.compare(at, 4, "<!--") == 0)
        {
            const std::size_t close = page.find("-->", at + 4);
            at = close == std::string::npos ? page.size() : close + 3;
            continue;
        }
        if (at + 1 < page.size() &&
            (page[at + 1] == '!' || page[at + 1] == '?' || page[at + 1] == '/'))
        {
            if (objectDepth > 0 && StartsWithIgnoringCase(page, at, "</object"))
                --objectDepth;
            const std::size_t close = page.find('>', at);
            at = close == std::string::npos ? page.size() : close + 1;
            continue;
        }
        if (at + 1 >= page.size() || !std::isalpha(static_cast<unsigned char>(page[at + 1])))
        {
            ++at;  // a '<' in running text
            continue;
        }
        Tag tag;
        at = ReadTag(page, at + 1, tag);
        if (tag.name == "script" || tag.name == "style")
        {
            at = SkipRawText(page, at, tag.name);
        }
        else if (objectDepth > 0)
        {
            if (tag.name == "object")
                ++objectDepth;
            else if (tag.name == "param" && objectDepth == 1 && tag.element.HasAttribute("name") &&
                     objectNames.Insert(tag.element.Attribute("name")))
                applets.back().attributes.emplace_back(tag.element.Attribute("name"),
                                                       tag.element.Attribute("value"));
        }
        else if ((tag.name == "embed" || tag.name == "object") && IsAppletElement(tag.element))
        {
            applets.push_back(tag.element);
            if (tag.name == "object")
            {
                objectDepth = 1;
                objectNames = std::move(tag.names);
            }
        }
    }
    return applets;
}
