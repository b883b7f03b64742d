// What a command-line path opens, over real files: folders, mails, attachment
// folders, links, and paths that open nothing.
#include "Coding.h"
#include "OpenPath.h"
#include "TestStore.h"
#include "TitleScanner.h"

#include <QDir>
#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

namespace wex::test {
namespace {

class OpenPathTest : public ::testing::Test {
protected:
    OpenPathTest() : scanner(coding)
    {
        dir.write("store/InBox/1.ygm", "From: a@example.org\nSubject: one\n\nbody\n");
        dir.write("store/InBox/notes.pdf", "%PDF");
        dir.write("store/InBox/S.mpart/S.mail", "From: b@example.org\nSubject: parts\n\nbody\n");
        dir.write("store/InBox/S.mpart/photo.png", "png");
        dir.mkdir("store/InBox/sub");
        ::symlink(dir.at("store").constData(), dir.at("link").constData());
    }
    OpenPath open(const QByteArray &argument) { return ResolveOpenPath(argument, scanner); }

    TestDir dir;
    Coding coding;
    TitleScanner scanner;
};

TEST_F(OpenPathTest, FoldersOpenAsFoldersWithLinksResolved)
{
    const QByteArray inbox = dir.at("store/InBox");
    for (const QByteArray &argument : {inbox, inbox + "/", dir.at("link/InBox"), dir.at("store/InBox/sub/..")}) {
        SCOPED_TRACE(argument.toStdString());
        const OpenPath target = open(argument);
        EXPECT_EQ(target.kind, OpenPath::Folder);
        EXPECT_EQ(target.folder, inbox);
        EXPECT_TRUE(target.mail.isEmpty());
    }
    EXPECT_EQ(open("/").kind, OpenPath::Folder);
    EXPECT_EQ(open("/").folder, "/");
}

TEST_F(OpenPathTest, MailsOpenInTheirFolderUnderTheirTitlePath)
{
    const QByteArray inbox = dir.at("store/InBox");
    struct Case {
        QByteArray argument, mail;
    } cases[] = {
        {inbox + "/1.ygm", inbox + "/1.ygm"},
        {dir.at("link/InBox/1.ygm"), inbox + "/1.ygm"}, // the folder's links resolved
        {inbox + "/S.mpart", inbox + "/S.mpart/S.mail"}, // an attachment folder is its main text
        {inbox + "/S.mpart/", inbox + "/S.mpart/S.mail"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        const OpenPath target = open(c.argument);
        EXPECT_EQ(target.kind, OpenPath::Mail);
        EXPECT_EQ(target.folder, inbox);
        EXPECT_EQ(target.mail, c.mail);
    }

    // Relative to the working folder.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromUtf8(inbox)));
    const OpenPath relative = open("1.ygm");
    const OpenPath here = open(".");
    QDir::setCurrent(before);
    EXPECT_EQ(relative.kind, OpenPath::Mail);
    EXPECT_EQ(relative.mail, inbox + "/1.ygm");
    EXPECT_EQ(here.kind, OpenPath::Folder);
    EXPECT_EQ(here.folder, inbox);
}

TEST_F(OpenPathTest, WhatIsNeitherMailNorFolderOpensNothingAndSaysWhy)
{
    for (const QByteArray &argument :
         {dir.at("store/InBox/notes.pdf"), dir.at("store/InBox/missing.ygm"), dir.at("store/InBox/1.ygm/x"),
          QByteArray("/dev/null"), QByteArray()}) {
        SCOPED_TRACE(argument.toStdString());
        const OpenPath target = open(argument);
        EXPECT_EQ(target.kind, OpenPath::Nothing);
        EXPECT_FALSE(target.reason.isEmpty());
        EXPECT_TRUE(target.folder.isEmpty());
    }
    EXPECT_EQ(open(dir.at("store/InBox/missing.ygm")).reason, QString::fromLocal8Bit(std::strerror(ENOENT)));
}

} // namespace
} // namespace wex::test
