// The option parser the headless commands share, and "--sort none".
#include "CommandLine.h"
#include "CommandRun.h"
#include "TestStore.h"

#include <gtest/gtest.h>

using namespace wex;
using namespace wex::test;

namespace {

bool Parse(std::vector<const char *> args, bool allowStore, size_t operands, CommandOptions *options)
{
    args.insert(args.begin(), {"wex-browser", "--cmd"});
    return ParseCommandOptions(int(args.size()), const_cast<char **>(args.data()), allowStore, operands, options);
}

TEST(CommandLine, Options)
{
    CommandOptions o;
    ASSERT_TRUE(Parse({"--sort", "none", "--store", "/s", "--reverse", "--", "--m"}, true, 1, &o));
    EXPECT_FALSE(o.key);
    EXPECT_TRUE(o.reverse);
    EXPECT_STREQ(o.store, "/s");
    ASSERT_EQ(o.operands.size(), 1u);
    EXPECT_STREQ(o.operands[0], "--m");

    const std::vector<std::vector<const char *>> bad = {
        {"--store", "/s"},          // not for this command
        {"--sort"},                 // no key
        {"--sort", "Date"},         // keys are lower case
        {"-x"},                     // unknown option
        {""},                       // empty operand
        {"a", "b"},                 // one operand too many
    };
    for (const auto &args : bad) {
        CommandOptions ignored;
        EXPECT_FALSE(Parse(args, false, 1, &ignored)) << args.front();
    }
    CommandOptions none;
    EXPECT_FALSE(Parse({}, false, 1, &none));
    EXPECT_FALSE(Parse({"--store", ""}, true, 0, &none));
}

TEST(CommandLine, SortNoneKeepsTheFolderOrder)
{
    if (WexBinary().isEmpty())
        GTEST_SKIP() << "WEX_BINARY does not name the wex-browser binary";
    TestDir dir;
    dir.write("b.mail", "Date: 1 Dec 2026 00:00:00 +0000\n\n");
    dir.write("a.mail", "Date: 3 Dec 2026 00:00:00 +0000\n\n");
    dir.write("C.mail", "Date: 2 Dec 2026 00:00:00 +0000\n\n");
    EXPECT_EQ(RunWex({"--list", dir.pathString(), "--sort", "none"}).names(), "C.mail a.mail b.mail");
    EXPECT_EQ(RunWex({"--list", dir.pathString()}).names(), "b.mail C.mail a.mail");
}

} // namespace
