#include "Aliases.h"
#include "CoreTest.h"

// Chains of absolute and relative links resolve to their end; dead ends leave the output untouched.
TEST(Aliases, ResolvesChainsAndFailsWithoutTouchingTheOutput)
{
    test::TestDir dir;
    const QByteArray root = dir.mkdir("a/b/root"), file = dir.write("a/b/root/mail", "x");
    dir.mkdir("links");
    const char *const links[][2] = {
        {"abs", nullptr}, {"rel", "a/b/root"}, {"links/up", "../rel"}, {"toFile", "a/b/root/mail"},
        {"broken", "nowhere"}, {"toBroken", "broken"}, {"loopA", "loopB"}, {"loopB", "loopA"}, {"self", "self"},
    };
    for (const auto &[link, target] : links)
        ASSERT_EQ(::symlink(target ? target : root.constData(), dir.at(link).constData()), 0) << link;
    ASSERT_EQ(::symlink(dir.at("links/up").constData(), dir.at("chain").constData()), 0);
    const std::pair<QByteArray, QByteArray> cases[] = {
        {root, root}, {root + "/", root}, {dir.path() + "//a/b/root///mail", file}, {"/", "/"},
        {dir.at("abs"), root}, {dir.at("rel"), root}, {dir.at("links/up"), root}, {dir.at("chain"), root},
        {dir.at("toFile"), file}, {dir.at("missing"), {}}, {dir.at("broken"), {}}, {dir.at("toBroken"), {}},
        {dir.at("loopA"), {}}, {dir.at("self"), {}}, {QByteArray(), {}},
    };
    for (const auto &[in, want] : cases) {
        QByteArray out = "untouched";
        EXPECT_EQ(SFResolveAliasPath(in, &out) == 0, !want.isEmpty()) << in.constData();
        EXPECT_EQ(out, want.isEmpty() ? QByteArray("untouched") : want) << in.constData();
    }
    // A relative path is taken from the working folder.
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.pathString()));
    QByteArray out;
    const int rc = SFResolveAliasPath("a/b/root", &out);
    QDir::setCurrent(old);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out, root);
}

// A link follows its mail through a change of state only when exactly one candidate is left.
TEST(Aliases, ALinkFollowsItsMailThroughAStateChange)
{
    test::TestDir dir;
    const QByteArray read = dir.write("box/1.mail", "x");
    dir.write("box/2.mail", "x"), dir.write("box/2.rply", "x"), dir.write("box/3.dat", "x");
    for (const char *name : {"1.ygm", "2.ygm", "3.txt"})
        ASSERT_EQ(::symlink((QByteArray("box/") + name).constData(), dir.at(QByteArray("to") + name).constData()), 0);
    QByteArray out;
    EXPECT_EQ(SFResolveAliasPath(dir.at("to1.ygm"), &out), 0);
    EXPECT_EQ(out, read);
    EXPECT_NE(SFResolveAliasPath(dir.at("box/1.ygm"), &out), 0);
    EXPECT_NE(SFResolveAliasPath(dir.at("to2.ygm"), &out), 0);
    EXPECT_NE(SFResolveAliasPath(dir.at("to3.txt"), &out), 0);
}
