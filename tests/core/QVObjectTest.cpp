#include "core/object/QVObject.h"
#include "core/object/QVException.h"
#include "tests/core/QVTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace
{
std::string LowByteHex(std::uintptr_t value)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value & 0xFFu));
    return text;
}
}  // namespace

// --- valid ---

TEST(QVObjectTest, ToStringWritesAddressAndClassCodeBytes)
{
    const QVObject object(0x1234);
    char text[QVObject::TextSize];
    std::memset(text, 'x', sizeof text);
    object.ToString(text);
    const std::string expected =
        "@" + LowByteHex(reinterpret_cast<std::uintptr_t>(&object)) + " 34";
    EXPECT_EQ(expected, text);
    EXPECT_EQ(6u, std::strlen(text));
}

TEST(QVExceptionTest, MessageJoinsMethodClassAndText)
{
    const QVException e("QVString", "GetCharAt", "index out of bounds");
    EXPECT_STREQ("Exception in GetCharAt of QVString:index out of bounds", e.GetMessage());
    EXPECT_EQ(QV_CLASS_EXCEPTION, e.GetClassId());
}

TEST(QVExceptionTest, ManagerMethodTextIsKeptAsGiven)
{
    EXPECT_EQ(
        "Exception in op [] of QVModManager:index out of bounds",
        ThrownMessage([] { throw QVException("QVModManager", "op []", "index out of bounds"); }));
}

TEST(QVExceptionTest, ObjectFormUsesTheObjectText)
{
    const QVObject list(QV_CLASS_LIST);
    const QVException e(&list, "operateur []", "index out of bounds");
    EXPECT_EQ("Exception in operateur [] of " + ObjectText(list) + ":index out of bounds",
              e.GetMessage());
}

TEST(QVExceptionTest, CopyKeepsMessageAndClassCode)
{
    const QVException original("HashMap", "operator []", "index out of bounds");
    const QVException copy(original);
    EXPECT_STREQ(original.GetMessage(), copy.GetMessage());
    EXPECT_EQ(4098, copy.GetClassId());
}

TEST(QVExceptionTest, CatchableAsObjectWithItsClassCode)
{
    std::int32_t caught = -1;
    try
    {
        throw QVException("QVMatrix", "operator=", "Invalid dim");
    }
    catch (const QVObject& object)
    {
        caught = object.GetClassId();
        EXPECT_TRUE(ObjectText(object).substr(3) == " 02") << ObjectText(object);
    }
    EXPECT_EQ(4098, caught);
}

// --- boundary ---

TEST(QVExceptionTest, LongMessageIsCutToTheBuffer)
{
    const std::string longText(400, 'm');
    const QVException e("C", "M", longText.c_str());
    EXPECT_EQ(QVException::MessageSize - 1, static_cast<int>(std::strlen(e.GetMessage())));
    EXPECT_EQ(0, std::strncmp(e.GetMessage(), "Exception in M of C:mmm", 23));

    char text[QVObject::TextSize + 8];
    std::memset(text, 'x', sizeof text);
    e.ToString(text);
    EXPECT_EQ(QVObject::TextSize - 1, static_cast<int>(std::strlen(text)));
    EXPECT_EQ('x', text[QVObject::TextSize]);  // nothing written past the promised size
}

TEST(QVExceptionTest, ExceptionDescribingAnExceptionStaysBounded)
{
    const std::string longText(400, 'm');
    const QVException inner("C", "M", longText.c_str());
    const QVException outer(&inner, "Rethrow", "again");
    const std::string innerText = std::string(inner.GetMessage()).substr(0, QVObject::TextSize - 1);
    EXPECT_EQ("Exception in Rethrow of " + innerText + ":again", outer.GetMessage());
}

// --- invalid ---

TEST(QVExceptionTest, NullTextsCountAsEmpty)
{
    const QVException e(static_cast<const char*>(nullptr), nullptr, nullptr);
    EXPECT_STREQ("Exception in  of :", e.GetMessage());
}
