// Every headless command: an unusable path exits 1 with one error line, bad usage 2; no listing.
#include "CommandRun.h"

TEST_F(CommandTest, PathsThatCannotBeUsedAndBadUsage)
{
    TestDir dir;
    const QString d = dir.pathString(), mail = QString::fromUtf8(dir.write("InBox/1.mail", "From: a\n\n"));
    dir.write("temp/unreadAliases", "a file, not a folder");
    dir.write("notes.txt", "x");
    dir.mkdir("Plain");
    const QList<QPair<QString, QString>> noSettings{{"HOME", d + "/InBox"}};
    const struct {
        QStringList args;
        int exit;
        const char *err; // what the error text holds; null: exactly one line
        QList<QPair<QString, QString>> env = {};
    } cases[] = {
        {{"--list", d + "/missing"}, 1, nullptr}, {{"--list", mail}, 1, nullptr},
        {{"--unread"}, 1, nullptr, noSettings}, {{"--unread", "--store", d + "/missing"}, 1, nullptr},
        {{"--unread", "--store", d}, 1, nullptr}, // its alias folder cannot be listed
        {{"--find", "x", "--store", d + "/missing"}, 1, nullptr}, {{"--find", "colour:red", "--store", d}, 2, nullptr},
        {{"--related", d + "/InBox/missing.mail", "--store", d}, 1, nullptr},
        {{"--related", d + "/notes.txt", "--store", d}, 1, nullptr}, {{"--related", d + "/Plain", "--store", d}, 1, nullptr},
        {{"--related", mail, "--store", d + "/missing"}, 1, nullptr}, {{"--counts", d + "/missing"}, 1, nullptr},
        // Any other "--" command answers without a display, never a desktop start.
        {{"--list", d, "--bogus"}, 2, "usage: "}, {{"--lsit", "x"}, 2, "usage: "},
        {{"--unread", "x"}, 2, "usage: "}, {{"--unread", "--sort", "bogus"}, 2, "usage: "}, {{"--find"}, 2, "usage: "},
        {{"--related"}, 2, "usage: wex-browser --related MAIL"}, {{"--related", "a", "b"}, 2, "usage: wex-browser --related MAIL"},
        {{"--related", "a", "--sort"}, 2, "usage: wex-browser --related MAIL"}, {{"--counts", "a", "--store", "b"}, 2, "usage: "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ChildRun r = RunWex(c.args, c.env);
        EXPECT_EQ(r.exitCode, c.exit);
        EXPECT_EQ(r.out, "");
        if (c.err)
            EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
        else
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}
