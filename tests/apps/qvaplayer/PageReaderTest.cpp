// Reading the applets of a page: which elements are applets, their attributes in page order,
// the forms of attribute values a tolerant reader must take, and what it must skip.
#include "apps/qvaplayer/PageReader.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace
{
// The applets of a page written as "name=value|name=value" per applet, applets joined by " ; ".
std::string Describe(const std::string& page)
{
    std::string out;
    for (const AppletElement& applet : ReadAppletElements(page))
    {
        if (!out.empty())
            out += " ; ";
        std::string one;
        for (const auto& attribute : applet.attributes)
            one += (one.empty() ? "" : "|") + attribute.first + "=" + attribute.second;
        out += one;
    }
    return out;
}

struct PageCase
{
    const char* page;
    const char* applets;
};

const PageCase Recognised[] = {
    {"<embed type=\"application/qv-applet\" src=\"a.qva\">",
     "type=application/qv-applet|src=a.qva"},
    {"<EMBED SRC=a.qva>", "SRC=a.qva"},
    {"<Object data='x/b.QVA' width=10></object>", "data=x/b.QVA|width=10"},
    {"<embed type=\"Application/QV-Applet; charset=x\" src=\"noext\">",
     "type=Application/QV-Applet; charset=x|src=noext"},
    {"<embed src=\"a.qva?v=2#top\">", "src=a.qva?v=2#top"},
    {"<p>one</p><embed src=1.qva><div><embed src=2.qva></div>", "src=1.qva ; src=2.qva"},
};

const PageCase NotApplets[] = {
    {"", ""},
    {"<p>no applets here</p>", ""},
    {"<embed src=\"movie.swf\" type=\"application/x-other\">", ""},
    {"<img src=\"a.qva\">", ""},
    {"<embed type=\"application/qv-applet-extra\" src=\"a.txt\">", ""},
    {"<!-- <embed src=a.qva> -->", ""},
    {"<script>var s = '<embed src=a.qva>';</script>", ""},
    {"<STYLE>/* <embed src=a.qva> */</style>", ""},
    {"<embedded src=a.qva>", ""},
};

const PageCase ValueForms[] = {
    {"<embed src=a.qva title=\"two words\">", "src=a.qva|title=two words"},
    {"<embed src=a.qva title='it\"s'>", "src=a.qva|title=it\"s"},
    {"<embed src=a.qva title=\"a > b\">", "src=a.qva|title=a > b"},
    {"<embed src = a.qva  width = 5 >", "src=a.qva|width=5"},
    {"<embed src=a.qva hidden>", "src=a.qva|hidden="},
    {"<embed src=a.qva text=\"&lt;&amp;&gt;&quot;&apos;&#65;&#x42;&unknown;\">",
     "src=a.qva|text=<&>\"'AB&unknown;"},
    {"<embed src=a.qva e=\"&#233;&#x20AC;\">", "src=a.qva|e=\xE9\xE2\x82\xAC"},
    {"<embed src=a.qva A=1 a=2>", "src=a.qva|A=1"},
    {"<embed type=application/qv-applet src=a/>", "type=application/qv-applet|src=a/"},
    {"<embed src=\"a.qva\"/>", "src=a.qva"},
    {"<embed\nsrc=a.qva\ttitle=x\r\n>", "src=a.qva|title=x"},
    {"<embed @temp_path=/tmp src=a.qva>", "@temp_path=/tmp|src=a.qva"},
};

const PageCase Objects[] = {
    // Parameters of an applet object follow its own attributes; a repeated name is dropped.
    {"<object data=a.qva><param name=speed value=3><PARAM NAME=\"colour\" VALUE=\"red\">"
     "<param name=data value=x></object>",
     "data=a.qva|speed=3|colour=red"},
    // The embed inside is the object's fallback, not a second applet.
    {"<object type=application/qv-applet data=a.qva><embed src=a.qva></object>",
     "type=application/qv-applet|data=a.qva"},
    {"<object data=a.qva><object data=b.qva><param name=inner value=1></object>"
     "<param name=outer value=2></object><embed src=c.qva>",
     "data=a.qva|outer=2 ; src=c.qva"},
    // A non-applet object's fallback may be an applet; params outside an applet are nothing.
    {"<object data=movie.swf><embed src=a.qva></object><param name=x value=1>", "src=a.qva"},
};

const PageCase Damaged[] = {
    {"<embed src=a.qva", "src=a.qva"},
    {"<embed src=\"a.qva", "src=a.qva"},
    {"<embed src=a.qva title=\"unterminated>", "src=a.qva|title=unterminated>"},
    {"a < b <embed src=a.qva>", "src=a.qva"},
    {"<!-- unterminated comment <embed src=a.qva>", ""},
    {"<object data=a.qva><param name=x value=1>", "data=a.qva|x=1"},
    {"<<<>>><embed src=a.qva>", "src=a.qva"},
    {"<embed src=a.qva text=\"&#0;&#xFFFFFFFF;&#;&\">", "src=a.qva|text=&#0;&#xFFFFFFFF;&#;&"},
};

void Check(const PageCase* cases, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(Describe(cases[i].page), cases[i].applets) << "page: " << cases[i].page;
}
}  // namespace

TEST(PageReader, FindsAppletsByTypeOrQvaSource) { Check(Recognised, std::size(Recognised)); }
TEST(PageReader, SkipsEverythingElse) { Check(NotApplets, std::size(NotApplets)); }
TEST(PageReader, ReadsEveryValueForm) { Check(ValueForms, std::size(ValueForms)); }
TEST(PageReader, AddsObjectParametersAndSkipsFallbacks) { Check(Objects, std::size(Objects)); }
TEST(PageReader, ToleratesDamagedPages) { Check(Damaged, std::size(Damaged)); }

// An element with tens of thousands of attributes, an object with as many parameters, every name
// then repeated in another case: the first of each kept, in page order, the repeats dropped.
TEST(PageReader, KeepsEachOfManyAttributesOnce)
{
    const int count = 40000;
    std::string embed = "<embed src=a.qva", object = "<object data=b.qva>", again, paramsAgain;
    for (int i = 0; i < count; ++i)
    {
        const std::string n = std::to_string(i);
        embed += " a" + n + "='" + n + "'";
        object += "<param name=p" + n + " value=" + n + ">";
        again += " A" + n + "=x";
        paramsAgain += "<param name=P" + n + " value=x>";
    }
    const std::vector<AppletElement> applets =
        ReadAppletElements(embed + again + ">" + object + paramsAgain + "</object>");
    ASSERT_EQ(applets.size(), 2u);
    for (std::size_t a = 0; a < 2; ++a)
    {
        ASSERT_EQ(applets[a].attributes.size(), count + 1u);
        int wrong = 0;
        for (int i = 0; i < count; ++i)
        {
            const std::string n = std::to_string(i);
            wrong += applets[a].attributes[i + 1] != std::make_pair((a ? "p" : "a") + n, n);
        }
        EXPECT_EQ(wrong, 0) << "applet " << a + 1;
    }
}

TEST(PageReader, SizesFallBackUnlessPositiveNumbers)
{
    const struct
    {
        const char* value;
        int size;
    } cases[] = {{"320", 320}, {" 64px", 64},  {"0", 7},     {"-5", 7},         {"", 7},
                 {"abc", 7},   {"9999", 9999}, {"10000", 7}, {"99999999999", 7}};
    for (const auto& one : cases)
    {
        AppletElement element;
        element.attributes.emplace_back("width", one.value);
        EXPECT_EQ(element.Size("WIDTH", 7), one.size) << "width=" << one.value;
    }
}
