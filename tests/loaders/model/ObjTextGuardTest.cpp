// The text the OBJ parser is given: only vertex weight lines and numbers whose exponent would
// overflow the parser's int change; every byte stays where it was, names and other lines keep
// their bytes, whatever ends the lines.
#include "loaders/model/ObjTextGuard.h"

#include <gtest/gtest.h>

#include <string>

TEST(ObjTextGuard, ChangesOnlyWhatTheParserCannotHold)
{
    using namespace std::string_literals;
    const struct
    {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"weight-line", "v 0 0 0\nvw 1 2 0.5\n", "v 0 0 0\n#w 1 2 0.5\n"},
        {"weight-after-blanks-and-cr", "v 1 2 3\r \tvw\t1\r\n", "v 1 2 3\r \t#w\t1\r\n"},
        {"weight-first-in-file", "vw 0 0 1", "#w 0 0 1"},
        {"not-weight-lines", "vwx 1\nvw\nv vw 1\nusemtl vw 1\n",
         "vwx 1\nvw\nv vw 1\nusemtl vw 1\n"},
        {"weight-after-a-nul-is-not-read", "v 1 \0vw 1\n"s, "v 1 \0vw 1\n"s},
        {"overflowing-exponents", "v 0e2147483648 1E+002147483649 -.e-2147483648\n",
         "v 0e9147483648 1E+009147483649 -.e-9147483648\n"},
        {"overflowing-exponent-before-more-text", "v 1e2147483648x 1e21474836480\n",
         "v 1e9147483648x 1e91474836480\n"},
        {"exponents-the-parser-holds", "v 0e2147483647 1e214748364 1e21474836470 2e1147483648\n",
         "v 0e2147483647 1e214748364 1e21474836470 2e1147483648\n"},
        {"names-holding-such-numbers",
         "usemtl m1e2147483648\nmap_Kd tex-1e2147483648.png\ng e2147483648\n",
         "usemtl m1e2147483648\nmap_Kd tex-1e2147483648.png\ng e2147483648\n"},
        {"cut-short", "v 1e214748364", "v 1e214748364"},
        {"empty", "", ""},
    };
    for (const auto& c : cases)
    {
        std::string text = c.text;
        GuardObjText(text);
        EXPECT_EQ(text, c.expected) << c.name;
    }
}
