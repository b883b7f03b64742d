#include "PathUtils.h"
#include "CoreTest.h"

TEST(PathUtils, HeadStrCLFoldsOnlyAsciiLetters)
{
    struct Case { const char *head, *text; int expected; } cases[] = {
        {"from:", "From: someone", 1}, {"", "anything", 1}, {"from:", "from", 0}, // one short
        {"\xc4", "\xe4", 0}, {"[", "{", 0}, // '[' | 0x20 == '{'
    };
    for (const auto &c : cases)
        EXPECT_EQ(HeadStrCL(c.head, c.text), c.expected) << c.head << " / " << c.text;
    EXPECT_EQ(HeadStrCL(nullptr, "x"), 1);
    EXPECT_EQ(HeadStrCL("x", nullptr), 0);
}
