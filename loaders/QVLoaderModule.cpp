#include "loaders/QVLoaderModule.h"

QVLoaderModule::QVLoaderModule()
    : m_description(16, QVString::Narrow), m_extension(16, QVString::Narrow)
{
}

QVLoaderModule::~QVLoaderModule() = default;

void QVLoaderModule::SetExtension(const QVString& text)
{
    m_extension.Assign(text);
    m_extension.ToLower();
}

bool QVLoaderModule::CanLoad(const QVString& fileName)
{
    if (m_extension.Equals(QVString("any")))
    {
        return true;
    }
    // From the second-to-last character down to the second: a name that ends in a dot has no
    // extension, and a leading dot marks a hidden name, not an extension.
    const int dot = fileName.FindLast('.', -1);
    if (dot < 0)
    {
        return false;
    }
    QVString extension;
    fileName.Mid(extension, dot + 1, fileName.GetLength());
    extension.ToLower();
    return extension.Equals(m_extension);
}

bool QVLoaderModule::CanLoad(const unsigned short* fileName)
{
    const QVString name(fileName);
    return CanLoad(name);
}

bool QVLoaderModule::CanLoad(const char* fileName)
{
    const QVString name(fileName);
    return CanLoad(name);
}

bool QVLoaderModule::Load(QVModCollection* client, const unsigned short* fileName)
{
    const QVString name(fileName);
    return Load(client, name);
}

bool QVLoaderModule::Load(QVModCollection* client, const char* fileName)
{
    const QVString name(fileName);
    return Load(client, name);
}

bool QVLoaderModule::Save(QVModCollection* client, const unsigned short* fileName)
{
    const QVString name(fileName);
    return Save(client, name);
}

bool QVLoaderModule::Save(QVModCollection* client, const char* fileName)
{
    const QVString name(fileName);
    return Save(client, name);
}
