#include "Aliases.h"

#include "TestStore.h"

#include <QDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace wex;

namespace {

void Link(const QByteArray &target, const QByteArray &link)
{
    ASSERT_EQ(symlink(target.constData(), link.constData()), 0) << link.constData();
}

} // namespace

TEST(Aliases, PlainItemsResolveToThemselvesNormalised)
{
    test::TestDir dir;
    const QByteArray folder = dir.mkdir("store");
    const QByteArray file = dir.write("store/mail", "x");
    struct Case { QByteArray in, out; } cases[] = {
        {folder, folder},
        {folder + "/", folder},
        {dir.path() + "//store///mail", file},
        {"/", "/"},
    };
    for (const auto &c : cases) {
        QByteArray out = "untouched";
        EXPECT_EQ(SFResolveAliasPath(c.in, &out), 0) << c.in.constData();
        EXPECT_EQ(out, c.out) << c.in.constData();
    }
    // A relative path is taken from the working folder.
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.pathString()));
    QByteArray out;
    const int rc = SFResolveAliasPath("store", &out);
    QDir::setCurrent(old);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out, folder);
}

TEST(Aliases, ChainsAbsoluteAndRelative)
{
    test::TestDir dir;
    const QByteArray root = dir.mkdir("a/b/root");
    Link(root, dir.at("abs"));                 // absolute target
    Link("a/b/root", dir.at("rel"));           // relative to the link's folder
    dir.mkdir("links");
    Link("../rel", dir.at("links/up"));        // relative, through "..", to another link
    Link(dir.at("links/up"), dir.at("chain")); // absolute to a relative one
    for (const char *name : {"abs", "rel", "links/up", "chain"}) {
        QByteArray out;
        EXPECT_EQ(SFResolveAliasPath(dir.at(name), &out), 0) << name;
        EXPECT_EQ(out, root) << name;
    }
    QByteArray out;
    // A link to a file resolves to the file.
    const QByteArray file = dir.write("f", "x");
    Link("f", dir.at("toFile"));
    ASSERT_EQ(SFResolveAliasPath(dir.at("toFile"), &out), 0);
    EXPECT_EQ(out, file);
}

TEST(Aliases, FailuresLeaveTheOutputUntouched)
{
    test::TestDir dir;
    Link("nowhere", dir.at("broken"));
    Link(dir.at("broken"), dir.at("toBroken"));
    Link("loopB", dir.at("loopA"));
    Link("loopA", dir.at("loopB"));
    Link("self", dir.at("self"));
    const QByteArray cases[] = {dir.at("missing"), dir.at("broken"), dir.at("toBroken"),
                                dir.at("loopA"), dir.at("self"), QByteArray()};
    for (const QByteArray &path : cases) {
        QByteArray out = "untouched";
        EXPECT_NE(SFResolveAliasPath(path, &out), 0) << path.constData();
        EXPECT_EQ(out, QByteArray("untouched")) << path.constData();
    }
}
