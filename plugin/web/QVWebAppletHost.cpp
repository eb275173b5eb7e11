#include "plugin/web/QVWebAppletHost.h"

#include "core/string/Utf8Encode.h"
#include "plugin/ScriptURL.h"

#include <emscripten.h>

// The page script's side: Module.qvOpenURL(element, url, target) → 1 accepted, 0 refused.
// Without it (the bundle run outside qvapplet.js) nothing can be opened.
// clang-format off
EM_JS(int, qv_web_open_url, (int element, const char* url, const char* target), {
    if (typeof Module.qvOpenURL != 'function')
        return 0;
    try
    {
        return Module.qvOpenURL(element, UTF8ToString(url), UTF8ToString(target)) ? 1 : 0;
    }
    catch (error)
    {
        err('OpenURL failed: ' + error);
        return 0;
    }
});
// clang-format on

bool QVWebAppletHost::OpenURL(const QVString& url, const QVString& target)
{
    // The page would run it with its own rights.
    const std::string utf8 = ToUtf8(url);
    if (QVIsScriptURL(utf8.c_str()))
        return false;
    return qv_web_open_url(m_element, utf8.c_str(), ToUtf8(target).c_str()) != 0;
}

std::string QVWebAppletHost::ToUtf8(const QVString& text)
{
    std::string out;
    const int length = text.GetLength();
    if (text.GetEncoding() != QVString::Wide)
        return length > 0 && text.GetBuffer() != nullptr ? std::string(text.GetBuffer(), length)
                                                         : out;
    for (int i = 0; i < length; ++i)
    {
        unsigned code = text.GetCharAt(i);
        // A surrogate pair makes one code point; a lone surrogate becomes U+FFFD.
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < length && text.GetCharAt(i + 1) >= 0xDC00 &&
            text.GetCharAt(i + 1) < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (text.GetCharAt(++i) - 0xDC00);
        else if (code >= 0xD800 && code < 0xE000)
            code = 0xFFFD;
        QVAppendUtf8(out, code);
    }
    return out;
}
