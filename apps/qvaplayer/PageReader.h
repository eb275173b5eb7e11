#pragma once

#include "apps/qvaplayer/AppletElement.h"

#include <string>
#include <vector>

// The MIME type of applet packages.
extern const char* const AppletMimeType;

// Finds the applets of an HTML page, in page order: every <embed> and <object> element of type
// "application/qv-applet" or whose source ("src", "data") names a ".qva" file. A tolerant reader,
// not a validator: tag names in any case; attribute values quoted with " or ', or unquoted;
// character references (&amp; &lt; &gt; &quot; &apos; &#N; &#xN;) decoded; comments, <script>
// and <style> contents skipped. The <param name=… value=…> elements of an applet object are added
// to its attributes after the object's own; an <embed> or <object> inside an applet object is
// the object's fallback content and is not an applet of its own. An unterminated tag ends with
// the text. A second attribute of the same name is dropped, as browsers do.
std::vector<AppletElement> ReadAppletElements(const std::string& page);

// Whether an element is an applet by the rule above.
bool IsAppletElement(const AppletElement& element);

// Text with its character references decoded (unknown ones kept as written); code points above
// 255 become UTF-8.
std::string DecodeCharacterReferences(const std::string& text);
