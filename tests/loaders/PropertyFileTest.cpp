// Property files written by the tests, loaded and saved through the "qvproploader.qvm" module
// that the property set finds beside the test program.
#include "loaders/QVLoaderModule.h"
#include "loaders/QVProperties.h"
#include "loaders/detail/MapTree.h"

#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace
{
// Every entry as key text -> value text (values as UTF-16 units).
std::map<std::string, std::u16string> Entries(const QVProperties& properties)
{
    std::map<std::string, std::u16string> entries;
    properties.ForEachEntry(
        [&](const QVPropertyEntry& entry)
        {
            EXPECT_EQ(QVString::Narrow, entry.GetKey().GetEncoding());
            entries[Narrow(entry.GetKey())] = UnitsOf(entry.GetValue());
        });
    return entries;
}

std::map<std::string, std::u16string> LoadEntries(const std::string& bytes, bool* loaded = nullptr)
{
    ScratchFile file("load.cfg", bytes);
    QVProperties properties(0);
    const bool result = properties.Load(file.Text());
    EXPECT_TRUE(result);
    if (loaded != nullptr)
    {
        *loaded = result;
    }
    return Entries(properties);
}

using Map = std::map<std::string, std::u16string>;

// The property loader that the set collected (the tests' output directory holds exactly one).
QVLoaderModule* CollectedLoader(QVProperties& properties)
{
    QVModCollection* loaders = properties.GetModCollection();
    return loaders->GetCount() == 1 ? static_cast<QVLoaderModule*>(loaders->GetAt(0)) : nullptr;
}

// Walks the tree: true when every node counts its subtree and is the middle of it.
bool IsBalancedAsBuilt(const HashMap::Node* node)
{
    if (node == nullptr)
    {
        return true;
    }
    const std::uint32_t left = node->left ? node->left->count : 0;
    const std::uint32_t right = node->right ? node->right->count : 0;
    return node->count == left + right + 1 && left == (node->count - 1) / 2 &&
           IsBalancedAsBuilt(node->left) && IsBalancedAsBuilt(node->right);
}

std::uint32_t FloorLog2(std::uint32_t n)
{
    std::uint32_t log = 0;
    while (n > 1)
    {
        n >>= 1;
        ++log;
    }
    return log;
}
}  // namespace

TEST(PropertyFileLoad, RecordsWithLfCrLfAndEqualsInTheValue)
{
    EXPECT_EQ((Map{{"a", u"1"}, {"b", u"two words"}, {"c", u"x=y"}}),
              LoadEntries("a=1\nb = two words\r\nc=x=y"));
    // Blank lines, indentation and tabs are trimmed away; inner blanks stay.
    EXPECT_EQ((Map{{"key", u"v a l"}, {"other", u""}}),
              LoadEntries("\n\n   key \t=  v a l \t\r\n\r\n\tother=\r\n"));
}

TEST(PropertyFileLoad, ALineStartingWithEqualsEndsTheParse)
{
    bool loaded = false;
    EXPECT_EQ((Map{{"a", u"1"}}), LoadEntries("a=1\n=2\nb=3\n", &loaded));
    EXPECT_TRUE(loaded);
    EXPECT_EQ(Map{}, LoadEntries("=1\na=2\n"));
}

TEST(PropertyFileLoad, ALineWithoutEqualsJoinsTheNextKey)
{
    EXPECT_EQ((Map{{"note\nkey", u"v"}}), LoadEntries("note\nkey=v\n"));
    EXPECT_EQ((Map{{"note \r\nkey", u"v"}}), LoadEntries("  note \r\nkey=v"));
    // Text after the last record is ignored.
    EXPECT_EQ((Map{{"a", u"1"}}), LoadEntries("a=1\ntrailing words\n"));
}

TEST(PropertyFileLoad, ValuesRunToTheEndOfAFileWithoutLineFeed)
{
    EXPECT_EQ((Map{{"only", u"value"}}), LoadEntries("only=value"));
    EXPECT_EQ((Map{{"only", u""}}), LoadEntries("only="));
    EXPECT_EQ((Map{{"a", u"1"}, {"b", u"2"}}), LoadEntries("a=1\nb=2\n"));
}

TEST(PropertyFileLoad, EmptyFilesAndFilesWithoutEqualsLoadNothingSuccessfully)
{
    EXPECT_EQ(Map{}, LoadEntries(""));
    EXPECT_EQ(Map{}, LoadEntries("just some words\nand more\n"));
    EXPECT_EQ(Map{}, LoadEntries("\xFF\xFE"));
    EXPECT_EQ(Map{}, LoadEntries(std::string("\0a=1\n", 5)));
}

TEST(PropertyFileLoad, TheSameKeyTwiceKeepsTheLastValue)
{
    ScratchFile file("twice.cfg", "k=first\nk=second\n10=ten\n0x10=sixteen\n");
    QVProperties properties(0);
    ASSERT_TRUE(properties.Load(file.Text()));
    EXPECT_EQ((Map{{"k", u"second"}, {"10", u"sixteen"}}), Entries(properties));
    QVString value;
    ASSERT_TRUE(properties.Get(QVString("0x10"), value));
    EXPECT_EQ("sixteen", Narrow(value));
    // The records went in through Set, so the set treats them as present.
    EXPECT_FALSE(properties.Set(QVString("k"), QVString("third")));
}

TEST(PropertyFileLoad, LoadingAgainAddsAndReplaces)
{
    ScratchFile first("first.cfg", "a=1\nb=2\n");
    ScratchFile second("second.cfg", "b=3\nc=4\n10=file\n");
    QVProperties properties(0);
    properties.Set(QVString("0x10"), QVString("set before"));
    ASSERT_TRUE(properties.Load(first.Text()));
    ASSERT_TRUE(properties.Load(second.Text()));
    // The entry present before keeps its key text and takes the file's value.
    EXPECT_EQ((Map{{"a", u"1"}, {"b", u"3"}, {"c", u"4"}, {"0x10", u"file"}}), Entries(properties));
}

TEST(PropertyFileLoad, SixteenBitFilesGiveEightBitKeysAndSixteenBitValues)
{
    const std::u16string text = u"name=\u03a9mega\r\n\u00e9t\u00e9 = summer\n";
    std::string bytes("\xFF\xFE");
    for (char16_t unit : text)
    {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    ScratchFile file("wide.cfg", bytes);
    QVProperties properties(0);
    ASSERT_TRUE(properties.Load(file.Text()));
    EXPECT_EQ((Map{{"name", u"\u03a9mega"}, {"\xE9t\xE9", u"summer"}}), Entries(properties));
    properties.ForEachEntry([](const QVPropertyEntry& entry)
                            { EXPECT_EQ(QVString::Wide, entry.GetValue().GetEncoding()); });
    // The narrowed key is found by its 8-bit spelling.
    QVString value;
    EXPECT_TRUE(properties.Get(QVString("\xE9t\xE9"), value));
}

TEST(PropertyFileLoad, MissingFilesFailAndLeaveTheSetAlone)
{
    QVProperties properties(0);
    properties.Set(QVString("kept"), QVString("yes"));
    EXPECT_FALSE(properties.Load(QVString("loaders-test-missing.cfg")));
    EXPECT_FALSE(properties.Load(QVString(".")));
    EXPECT_EQ((Map{{"kept", u"yes"}}), Entries(properties));
}

TEST(PropertyFileSave, WritesEntriesInHashOrderAndReloadsToTheSameMap)
{
    ScratchFile file("save.cfg");
    QVProperties properties(0);
    properties.Set(QVString("key"), QVString("value with = sign"));
    properties.Set(QVString("a"), QVString("1"));
    properties.Set(QVString("20"), QVString("twenty"));
    QVLoaderModule* loader = CollectedLoader(properties);
    ASSERT_NE(nullptr, loader);
    ASSERT_TRUE(loader->Save(properties.GetModCollection(), file.Name()));
    // Hashes: "a" 0xA, "20" 0x20, "key" 0x77FCE307.
    EXPECT_EQ(std::string("a=1\n20=twenty\nkey=value with = sign\n") + '\0', file.Bytes());

    QVProperties reloaded(0);
    ASSERT_TRUE(reloaded.Load(file.Text()));
    EXPECT_EQ(Entries(properties), Entries(reloaded));
}

TEST(PropertyFileSave, SixteenBitSetsWriteAMarkAndLittleEndianUnits)
{
    ScratchFile file("save16.cfg");
    QVProperties properties(1);
    properties.Set(QVString("a"), WideText(u"\u03a9"));
    QVLoaderModule* loader = CollectedLoader(properties);
    ASSERT_NE(nullptr, loader);
    ASSERT_TRUE(
        loader->Save(properties.GetModCollection(), Units(u"loaders-test-save16.cfg").data()));
    EXPECT_EQ(std::string("\xFF\xFE"
                          "a\0=\0\xA9\x03\n\0\0\0",
                          12),
              file.Bytes());

    QVProperties reloaded(0);
    ASSERT_TRUE(reloaded.Load(file.Text()));
    EXPECT_EQ(Entries(properties), Entries(reloaded));
}

TEST(PropertyFileSave, AnEntryWithAnEmptyKeyDoesNotCutTheFileShort)
{
    ScratchFile file("emptykey.cfg", " =nothing\nb=2\n");
    QVProperties properties(0);
    ASSERT_TRUE(properties.Load(file.Text()));
    ASSERT_EQ((Map{{"", u"nothing"}, {"b", u"2"}}), Entries(properties));
    QVLoaderModule* loader = CollectedLoader(properties);
    ASSERT_NE(nullptr, loader);
    ASSERT_TRUE(loader->Save(properties.GetModCollection(), file.Text()));
    EXPECT_EQ(std::string(" =nothing\nb=2\n") + '\0', file.Bytes());
    QVProperties reloaded(0);
    ASSERT_TRUE(reloaded.Load(file.Text()));
    EXPECT_EQ(Entries(properties), Entries(reloaded));
}

TEST(PropertyFileSave, AFirstKeyThatBeginsLikeAByteOrderMarkIsNotReadBackAsSixteenBit)
{
    for (const char* key : {"\xFF\xFEkey", "\xFE\xFF", "\xEF\xBB\xBFkey"})
    {
        ScratchFile file("markkey.cfg");
        QVProperties properties(0);
        properties.Set(QVString(key), QVString("v"));
        QVLoaderModule* loader = CollectedLoader(properties);
        ASSERT_NE(nullptr, loader);
        ASSERT_TRUE(loader->Save(properties.GetModCollection(), file.Text()));
        EXPECT_EQ("\n" + std::string(key) + "=v\n" + '\0', file.Bytes());
        QVProperties reloaded(0);
        ASSERT_TRUE(reloaded.Load(file.Text()));
        EXPECT_EQ(Entries(properties), Entries(reloaded));
    }
}

TEST(PropertyFileWideNames, TheWideFormsReachTheSameFileOnEveryTarget)
{
    const char16_t name[] = u"loaders-test-\u00e9t\u00e9-\u03a9.cfg";
    const std::filesystem::path path(std::u16string{name});
    QVProperties properties(0);
    properties.Set(QVString("key"), QVString("value"));
    QVLoaderModule* loader = CollectedLoader(properties);
    ASSERT_NE(nullptr, loader);
    EXPECT_TRUE(loader->CanLoad(Units(name).data()));
    ASSERT_TRUE(loader->Save(properties.GetModCollection(), Units(name).data()));
    EXPECT_TRUE(std::filesystem::exists(path));

    QVProperties throughSlot(0);
    EXPECT_TRUE(loader->Load(throughSlot.GetModCollection(), Units(name).data()));
    EXPECT_EQ((Map{{"key", u"value"}}), Entries(throughSlot));
    QVProperties throughSet(0);
    EXPECT_TRUE(throughSet.Load(WideText(name)));
    EXPECT_EQ((Map{{"key", u"value"}}), Entries(throughSet));
    std::filesystem::remove(path);
    EXPECT_FALSE(throughSet.Load(WideText(name)));
}

TEST(PropertyFileSave, UnwritableTargetsFail)
{
    QVProperties properties(0);
    properties.Set(QVString("a"), QVString("1"));
    QVLoaderModule* loader = CollectedLoader(properties);
    ASSERT_NE(nullptr, loader);
    EXPECT_FALSE(loader->Save(properties.GetModCollection(), "loaders-test-no-such-dir/x.cfg"));
    EXPECT_FALSE(loader->Save(properties.GetModCollection(), "."));
}

TEST(PropertyFileBalance, ManyKeysAreBalancedAfterALoad)
{
    // Hexadecimal keys in increasing order make the map a chain while the file is read.
    for (int count : {1, 2, 3, 7, 8, 1000, 4097})
    {
        std::ostringstream text;
        for (int i = 1; i <= count; ++i)
        {
            text << std::hex << i << "=" << std::dec << i << "\n";
        }
        ScratchFile file("many.cfg", text.str());
        QVProperties properties(0);
        ASSERT_TRUE(properties.Load(file.Text()));
        ASSERT_EQ(static_cast<std::uint32_t>(count), properties.GetCount());
        EXPECT_EQ(FloorLog2(static_cast<std::uint32_t>(count)) + 1,
                  qv_map_tree::Depth(properties.GetMap()))
            << count;
        EXPECT_TRUE(IsBalancedAsBuilt(properties.GetMap().GetRoot())) << count;
        // Keys, values and order survive the rebuild.
        for (std::uint32_t i = 0; i < properties.GetCount(); ++i)
        {
            QVMapKey key = 0;
            void* value = nullptr;
            ASSERT_TRUE(properties.GetMap().GetEntry(i, key, value));
            EXPECT_EQ(i + 1, key);
            EXPECT_EQ(std::to_string(i + 1),
                      Narrow(static_cast<QVPropertyEntry*>(value)->GetValue()));
        }
    }
}

TEST(PropertyFileBalance, KeysInNoParticularOrderAreBalancedToo)
{
    std::ostringstream text;
    for (int i = 0; i < 3000; ++i)
    {
        text << "setting." << i << " = value " << i << "\r\n";
    }
    ScratchFile file("random.cfg", text.str());
    QVProperties properties(0);
    properties.Set(QVString("before"), QVString("load"));
    ASSERT_TRUE(properties.Load(file.Text()));
    ASSERT_EQ(3001u, properties.GetCount());
    EXPECT_EQ(FloorLog2(3001) + 1, qv_map_tree::Depth(properties.GetMap()));
    EXPECT_TRUE(IsBalancedAsBuilt(properties.GetMap().GetRoot()));
    QVString value;
    ASSERT_TRUE(properties.Get(QVString("setting.1234"), value));
    EXPECT_EQ("value 1234", Narrow(value));
    ASSERT_TRUE(properties.Get(QVString("before"), value));
    EXPECT_EQ("load", Narrow(value));
}

namespace
{
// A property file of UTF-16 text after the mark of the byte order asked for.
std::string Utf16File(const std::u16string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text)
    {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// Files of the working directory whose names begin with file's name and go on: what a save
// could leave behind.
std::vector<std::string> FilesBeside(const ScratchFile& file)
{
    const std::string name = file.Name();
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator("."))
    {
        const std::string other = entry.path().filename().string();
        if (other.size() > name.size() && other.compare(0, name.size(), name) == 0)
        {
            found.push_back(other);
        }
    }
    return found;
}

bool Save(QVProperties& properties, const ScratchFile& file)
{
    QVLoaderModule* loader = CollectedLoader(properties);
    EXPECT_NE(nullptr, loader);
    return loader != nullptr && loader->Save(properties.GetModCollection(), file.Text());
}

QVString WithZero(const char* before, const char* after)
{
    QVString text(before);
    text.AppendChar('\0');
    text.Append(after);
    return text;
}
}  // namespace

TEST(PropertyFileLoad, MarkedFilesLoadInTheirEncoding)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        short valueEncoding;
    };
    const std::u16string text = u"a=\u4e00\r\nb = 2\n";
    const Case cases[] = {
        {"UTF-16 little-endian", Utf16File(text, false), QVString::Wide},
        {"UTF-16 big-endian", Utf16File(text, true), QVString::Wide},
        {"UTF-8 mark, 8-bit text",
         "\xEF\xBB\xBF"
         "a=\xE4\xB8\x80\r\nb = 2\n",
         QVString::Narrow},
    };
    const Map expected16{{"a", u"\u4e00"}, {"b", u"2"}};
    const Map expected8{{"a", u"\u00e4\u00b8\u0080"}, {"b", u"2"}};  // the UTF-8 bytes
    for (const Case& c : cases)
    {
        ScratchFile file("marked.cfg", c.bytes);
        QVProperties properties(0);
        ASSERT_TRUE(properties.Load(file.Text())) << c.what;
        EXPECT_EQ(c.valueEncoding == QVString::Wide ? expected16 : expected8, Entries(properties))
            << c.what;
        properties.ForEachEntry(
            [&](const QVPropertyEntry& entry)
            { EXPECT_EQ(c.valueEncoding, entry.GetValue().GetEncoding()) << c.what; });
    }
}

TEST(PropertyFileLoad, SixteenBitKeyCharactersBeyondEightBitsBecomeQuestionMarks)
{
    // Keeping the low byte made U+0100 a NUL, U+0120 a trailing blank and U+013D an "=".
    EXPECT_EQ(
        (Map{{"?", u"1"}, {"a?b", u"2"}, {"k?", u"3"}, {"?x", u"4"}, {"\xE9", u"5"}}),
        LoadEntries(Utf16File(u"\u0100=1\na\u4e00b=2\nk\u0120=3\n\u013dx=4\n\u00e9=5\n", false)));
}

TEST(PropertyFileSave, TextThatWouldNotReadBackTheSameIsRefusedAndTheFileKept)
{
    struct Case
    {
        const char* what;
        short encoding;
        QVString key;
        QVString value;
    };
    const Case cases[] = {
        {"value beyond 8 bits, 8-bit file", 0, QVString("a"), WideText(u"x\u0100")},
        {"value beyond 8 bits (U+4E00), 8-bit file", 0, QVString("a"), WideText(u"\u4e00")},
        {"key beyond 8 bits, 16-bit file", 1, WideText(u"k\u4e00"), QVString("v")},
        {"16-bit key that reads back as another key", 0, WideText(u"\u00e9"), QVString("v")},
        {"zero in a value", 0, QVString("a"), WithZero("x", "y")},
        {"zero in a key", 1, WithZero("k", "k"), QVString("v")},
        {"line feed in a value", 0, QVString("a"), QVString("two\nlines")},
        {"line feed in a 16-bit value", 1, QVString("a"), WideText(u"two\nlines")},
        {"= in a key", 0, QVString("a=b"), QVString("v")},
        {"blank before a key", 0, QVString(" a"), QVString("v")},
        {"tab after a key", 0, QVString("a\t"), QVString("v")},
        {"line feed after a key", 0, QVString("a\n"), QVString("v")},
        {"blank before a value", 0, QVString("a"), QVString(" v")},
        {"carriage return after a value", 1, QVString("a"), QVString("v\r")},
    };
    for (const Case& c : cases)
    {
        const std::string old = std::string("old=1\n") + '\0';
        ScratchFile file("refused.cfg", old);
        QVProperties properties(c.encoding);
        properties.Set(QVString("good"), QVString("1"));
        properties.Set(c.key, c.value);
        EXPECT_FALSE(Save(properties, file)) << c.what;
        EXPECT_EQ(old, file.Bytes()) << c.what;
        EXPECT_EQ(std::vector<std::string>{}, FilesBeside(file)) << c.what;
    }
}

TEST(PropertyFileSave, TextThatReadsBackTheSameIsWritten)
{
    struct Case
    {
        const char* what;
        short encoding;
        QVString key;
        QVString value;
    };
    const Case cases[] = {
        {"line feed inside a key (a line without =)", 0, QVString("note\nkey"), QVString("v")},
        {"carriage return inside a value", 0, QVString("a"), QVString("x\ry")},
        {"16-bit value within 8 bits, 8-bit file", 0, QVString("a"), WideText(u"\u00e9t\u00e9")},
        {"16-bit value, 16-bit file", 1, QVString("a"), WideText(u"\u4e00\u03a9")},
        {"8-bit value, 16-bit file", 1, QVString("a"), QVString("\xE9t\xE9")},
        {"16-bit key of plain ASCII", 0, WideText(u"key"), QVString("v")},
        {"empty value", 1, QVString("a"), QVString("")},
    };
    for (const Case& c : cases)
    {
        ScratchFile file("written.cfg", "a much longer old file that the new one replaces whole");
        QVProperties properties(c.encoding);
        properties.Set(QVString("good"), QVString("1"));
        properties.Set(c.key, c.value);
        ASSERT_TRUE(Save(properties, file)) << c.what;
        EXPECT_EQ(std::vector<std::string>{}, FilesBeside(file)) << c.what;
        QVProperties reloaded(0);
        ASSERT_TRUE(reloaded.Load(file.Text())) << c.what;
        EXPECT_EQ((Map{{"good", u"1"}, {Narrow(c.key), UnitsOf(c.value)}}), Entries(reloaded))
            << c.what;
    }
}

TEST(PropertyFileSave, SixteenBitDataIsRefusedInAnEightBitFileAndKeptInASixteenBitOne)
{
    // The reported loss: "一" became a NUL in the 8-bit file, and b and c were gone on reading.
    ScratchFile source("utf16.cfg", Utf16File(u"a=\u4e00\r\nb=2\r\nc=3\r\n", false));
    ScratchFile target("utf16-saved.cfg", "kept");
    const Map expected{{"a", u"\u4e00"}, {"b", u"2"}, {"c", u"3"}};

    QVProperties eightBit(0);
    ASSERT_TRUE(eightBit.Load(source.Text()));
    EXPECT_FALSE(Save(eightBit, target));
    EXPECT_EQ("kept", target.Bytes());

    QVProperties sixteenBit(1);
    ASSERT_TRUE(sixteenBit.Load(source.Text()));
    ASSERT_TRUE(Save(sixteenBit, target));
    QVProperties reloaded(0);
    ASSERT_TRUE(reloaded.Load(target.Text()));
    EXPECT_EQ(expected, Entries(reloaded));
}
