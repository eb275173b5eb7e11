#include "renderers/opengl/TextLogFile.h"

#include "loaders/QVFile.h"

#include <climits>
#include <cstring>

TextLogFile::TextLogFile(const char* fileName) : fileName(fileName != nullptr ? fileName : "") {}

TextLogFile::~TextLogFile() = default;

void TextLogFile::WriteWide(const unsigned short* text)
{
    if (text == nullptr)
    {
        return;
    }
    int units = 0;
    while (text[units] != 0 && units < INT_MAX / 2)
    {
        ++units;
    }
    Append(text, units * 2, nullptr, 0);
}

void TextLogFile::Write(const char* text)
{
    if (text == nullptr)
    {
        return;
    }
    const std::size_t length = std::strlen(text);
    const int bytes = length > INT_MAX ? INT_MAX : static_cast<int>(length);
    Append(text, bytes, "\n", 1);
}

void TextLogFile::Create()
{
    if (fileName.GetLength() == 0)
    {
        return;
    }
    QVFile file;
    if (file.Open(fileName, "wt"))
    {
        file.Close();
    }
}

void TextLogFile::Append(const void* first, int firstBytes, const void* second, int secondBytes)
{
    if (fileName.GetLength() == 0)
    {
        return;
    }
    QVFile file;
    if (!file.Open(fileName, "at"))
    {
        return;
    }
    file.Write(first, firstBytes);
    file.Write(second, secondBytes);
    file.Close();
}
