#pragma once

#include "core/string/QVString.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A file of the working directory that a test writes and that disappears with the object.
// Names are plain ASCII, so the narrow and the wide forms name the same file on every target.
class ScratchFile
{
public:
    explicit ScratchFile(const std::string& name) : m_name("loaders-test-" + name) { Remove(); }
    ScratchFile(const std::string& name, const std::string& bytes) : ScratchFile(name)
    {
        Write(bytes);
    }
    ~ScratchFile() { Remove(); }

    void Write(const std::string& bytes) const
    {
        std::ofstream out(m_name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Bytes() const
    {
        std::ifstream in(m_name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const char* Name() const { return m_name.c_str(); }
    QVString Text() const { return QVString(m_name.c_str()); }
    void Remove() const { std::remove(m_name.c_str()); }

private:
    std::string m_name;
};

// The system's 16-bit text of a UTF-16 literal, terminated.
inline std::vector<unsigned short> Units(const char16_t* text)
{
    std::vector<unsigned short> units;
    for (; *text != 0; ++text)
    {
        units.push_back(static_cast<unsigned short>(*text));
    }
    units.push_back(0);
    return units;
}

// A 16-bit QVString of a UTF-16 literal.
inline QVString WideText(const char16_t* text) { return QVString(Units(text).data()); }

// The characters of a string as UTF-16 units (8-bit ones as the bytes they hold), to compare.
inline std::u16string UnitsOf(const QVString& text)
{
    std::u16string units;
    for (int i = 0; i < text.GetLength(); ++i)
    {
        const unsigned short c = text.GetCharAt(i);
        units += static_cast<char16_t>(text.GetEncoding() == QVString::Wide ? c : (c & 0xFF));
    }
    return units;
}

// The text of an 8-bit string; a 16-bit one gives its units' low bytes.
inline std::string Narrow(const QVString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
    {
        out += static_cast<char>(text.GetCharAt(i) & 0xFF);
    }
    return out;
}
