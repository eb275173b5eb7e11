#include "core/string/QVMemStream.h"
#include "core/string/QVString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
typedef std::vector<unsigned char> Bytes;

Bytes Serialized(QVString& s)
{
    Bytes out(64, 0xCC);
    unsigned size = static_cast<unsigned>(out.size());
    EXPECT_EQ(QV_SERIAL_OK, s.Serialize(out.data(), &size, 0));
    out.resize(size);
    return out;
}
}  // namespace

// --- valid ---

TEST(QVSerializeTest, NarrowStringWritesCountEncodingAndBytes)
{
    QVString s("ab");
    EXPECT_EQ((Bytes{0x02, 0x00, 0x00, 0x00, 0x00, 0x61, 0x62}), Serialized(s));
}

TEST(QVSerializeTest, WideStringWritesLittleEndianUnits)
{
    const unsigned short text[] = {0x61, 0x1234, 0};
    QVString s(text);
    EXPECT_EQ((Bytes{0x04, 0x00, 0x00, 0x00, 0x01, 0x61, 0x00, 0x34, 0x12}), Serialized(s));
}

TEST(QVSerializeTest, RoundTripKeepsEncodingAndCharacters)
{
    const unsigned short text[] = {0x61, 0xFFE9, 0x1234, 0};
    QVString wide(text);
    QVString narrow("x\xE9y");
    for (QVString* original : {&wide, &narrow})
    {
        Bytes data = Serialized(*original);
        data.push_back(0x77);  // trailing bytes are not consumed
        QVString restored("something else");
        int size = static_cast<int>(data.size());
        EXPECT_EQ(QV_SERIAL_OK, restored.Deserialize(data.data(), &size, 0));
        EXPECT_EQ(static_cast<int>(data.size()) - 1, size);
        EXPECT_EQ(original->GetEncoding(), restored.GetEncoding());
        EXPECT_TRUE(restored.Equals(*original));
        EXPECT_EQ(0, restored.GetCharAt(restored.GetLength()));
    }
}

// --- boundary ---

TEST(QVSerializeTest, TooLittleRoomWritesNothingAndReportsTheNeed)
{
    QVString s("ab");
    unsigned char data[8];
    std::memset(data, 0xCC, sizeof data);
    unsigned size = 6;
    EXPECT_EQ(QV_SERIAL_TOO_SHORT, s.Serialize(data, &size, 0));
    EXPECT_EQ(7u, size);
    for (unsigned char byte : data)
    {
        EXPECT_EQ(0xCC, byte);
    }
    size = 7;
    EXPECT_EQ(QV_SERIAL_OK, s.Serialize(data, &size, 0));
    EXPECT_EQ(0xCC, data[7]);
}

TEST(QVSerializeTest, CutDataLeavesTheStringAlone)
{
    const unsigned char data[] = {0x05, 0x00, 0x00, 0x00, 0x00, 'a', 'b', 'c'};
    QVString s("keep");
    int size = sizeof data;
    EXPECT_EQ(QV_SERIAL_TOO_SHORT, s.Deserialize(data, &size, 0));
    EXPECT_EQ(10, size);  // what a whole record would take
    EXPECT_TRUE(s.Equals(QVString("keep")));

    size = 4;  // not even the header
    EXPECT_EQ(QV_SERIAL_TOO_SHORT, s.Deserialize(data, &size, 0));
    EXPECT_TRUE(s.Equals(QVString("keep")));
}

TEST(QVSerializeTest, HugeCountIsTooShortNotAnAllocation)
{
    const unsigned char data[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 'a'};
    QVString s("keep");
    int size = sizeof data;
    EXPECT_EQ(QV_SERIAL_TOO_SHORT, s.Deserialize(data, &size, 0));
    EXPECT_TRUE(s.Equals(QVString("keep")));
}

// --- empty ---

TEST(QVSerializeTest, EmptyStringIsJustTheHeader)
{
    QVString empty(0, QVString::Wide);
    EXPECT_EQ((Bytes{0x00, 0x00, 0x00, 0x00, 0x01}), Serialized(empty));

    QVString s("was here");
    const unsigned char data[] = {0x00, 0x00, 0x00, 0x00, 0x00};
    int size = sizeof data;
    EXPECT_EQ(QV_SERIAL_OK, s.Deserialize(data, &size, 0));
    EXPECT_EQ(5, size);
    EXPECT_EQ(0, s.GetLength());
    EXPECT_EQ(0, s.GetCharAt(0));
}

// --- invalid ---

TEST(QVSerializeTest, OtherModesAreUnsupported)
{
    QVString s("ab");
    unsigned char data[16] = {0x02, 0, 0, 0, 0, 'x', 'y'};
    unsigned room = sizeof data;
    EXPECT_EQ(QV_SERIAL_UNSUPPORTED, s.Serialize(data, &room, 1));
    int size = 7;
    EXPECT_EQ(QV_SERIAL_UNSUPPORTED, s.Deserialize(data, &size, 1));
    EXPECT_TRUE(s.Equals(QVString("ab")));
}

TEST(QVSerializeTest, CorruptHeadersAreRefused)
{
    QVString s("keep");
    const unsigned char unknownEncoding[] = {0x01, 0x00, 0x00, 0x00, 0x02, 'a'};
    int size = sizeof unknownEncoding;
    EXPECT_EQ(QV_SERIAL_UNSUPPORTED, s.Deserialize(unknownEncoding, &size, 0));
    const unsigned char halfUnit[] = {0x03, 0x00, 0x00, 0x00, 0x01, 'a', 0, 'b'};
    size = sizeof halfUnit;
    EXPECT_EQ(QV_SERIAL_TOO_SHORT, s.Deserialize(halfUnit, &size, 0));
    EXPECT_TRUE(s.Equals(QVString("keep")));
}

// --- memory stream ---

TEST(QVMemStreamTest, AttachedBufferIsReadAndWrittenWithinItsSize)
{
    unsigned char buffer[6] = {1, 2, 3, 4, 5, 6};
    QVMemStream stream;
    EXPECT_EQ(QV_CLASS_MEMSTREAM, stream.GetClassId());
    stream.Attach(buffer, 6);
    unsigned char in[8] = {};
    EXPECT_EQ(4, stream.Read(in, 4));
    EXPECT_EQ(0, stream.Read(in, 3));  // only 2 remain: nothing copied, nothing moved
    EXPECT_EQ(4, stream.GetReadPosition());
    EXPECT_EQ(2, stream.Read(in, 2));
    EXPECT_EQ(6, in[1]);

    const unsigned char out[7] = {9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(0, stream.Write(out, 7));  // a caller's buffer never grows
    EXPECT_EQ(1, buffer[0]);
    EXPECT_EQ(6, stream.Write(out, 6));
    EXPECT_EQ(9, buffer[5]);
}

TEST(QVMemStreamTest, ReadOnlyAttachRefusesWrites)
{
    const unsigned char buffer[4] = {1, 2, 3, 4};
    QVMemStream stream;
    stream.Attach(static_cast<const void*>(buffer), 4);
    EXPECT_EQ(0, stream.Write(buffer, 1));
    unsigned char in[4];
    EXPECT_EQ(4, stream.Read(in, 4));
}

TEST(QVMemStreamTest, OwnedBufferGrowsAndKeepsItsData)
{
    QVMemStream stream;
    std::vector<unsigned char> expected;
    for (int round = 0; round < 20; ++round)
    {
        const std::vector<unsigned char> chunk(static_cast<std::size_t>(round * 7 + 1),
                                               static_cast<unsigned char>(round));
        EXPECT_EQ(static_cast<int>(chunk.size()),
                  stream.Write(chunk.data(), static_cast<int>(chunk.size())));
        expected.insert(expected.end(), chunk.begin(), chunk.end());
    }
    ASSERT_EQ(static_cast<int>(expected.size()), stream.GetSize());
    EXPECT_EQ(0, std::memcmp(expected.data(), stream.GetData(), expected.size()));
    std::vector<unsigned char> back(expected.size());
    EXPECT_EQ(stream.GetSize(), stream.Read(back.data(), stream.GetSize()));
    EXPECT_EQ(expected, back);
}

TEST(QVMemStreamTest, NegativeCountsMoveNothing)
{
    unsigned char buffer[4] = {};
    QVMemStream stream;
    stream.Attach(buffer, 4);
    EXPECT_EQ(0, stream.Read(buffer, -1));
    EXPECT_EQ(0, stream.Write(buffer, -1));
    EXPECT_EQ(0, stream.GetReadPosition());
    EXPECT_EQ(0, stream.GetWritePosition());
}
