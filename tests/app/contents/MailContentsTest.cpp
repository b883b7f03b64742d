// The contents view following the title list: decoding, notices, marking read, the unread check.
#include "ReadingFixture.h"
#include "ShellCommand.h"
#include "TextDecoder.h"

#include <sys/stat.h>

namespace wex::test {

class MailContentsTest : public ::testing::Test {
protected:
    ReadingFixture f;
};

TEST_F(MailContentsTest, ShowsTheSelectedMailDecodedOrANoticeAndNoMailWithoutSelection)
{
    const uint32_t sjis = *f.coding.codeForName(QStringLiteral("ShiftJIS"));
    const QString japanese = QString::fromUtf8("件名: テスト\n\n本文です。\n");
    f.setMails({{"0.mail", EncodeText(japanese, "CP932"), false, QStringLiteral("Hello"), sjis}});
    f.select(0);
    EXPECT_EQ(f.view.toPlainText(), japanese);
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("Hello"));
    EXPECT_EQ(f.contents.currentPathString(), f.dir.at("0.mail"));
    EXPECT_EQ(f.view.font(), *f.fonts.fontFromEncode(sjis));
    EXPECT_FALSE(MailContents::unreadCheckPending()) << "a read mail schedules nothing";

    f.titles.clearSelection();
    EXPECT_NE(f.window.windowTitle(), QStringLiteral("Hello"));
    EXPECT_TRUE(f.view.toPlainText().isEmpty() && f.contents.currentPathString().isEmpty());

    // A mail that cannot be shown gives a notice and an empty text.
    f.dir.mkdir("folder.mail");
    ASSERT_EQ(::mkfifo(f.dir.at("fifo.mail").constData(), 0600), 0);
    f.setMails({{"good.mail", "fine\n"}, {"bad.mail", "caf\xe9\n"}});
    for (const QByteArray &path : {f.dir.at("missing.mail"), f.dir.at("folder.mail"), f.dir.at("fifo.mail"),
                                   QByteArray("a\0b", 3), f.dir.at("bad.mail")}) {
        f.contents.contentsAtPathString(f.dir.at("good.mail"), enc::UTF8);
        ASSERT_EQ(f.view.toPlainText(), QStringLiteral("fine\n"));
        f.contents.contentsAtPathString(path, enc::UTF8);
        EXPECT_EQ(f.view.toPlainText(), QString()) << path.constData();
        EXPECT_FALSE(f.contents.notice().isEmpty()) << path.constData();
        EXPECT_EQ(f.view.placeholderText(), f.contents.notice());
    }

    // Selected: the window still names the mail; the next good mail clears the notice.
    f.select(1);
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("bad.mail"));
    EXPECT_TRUE(f.contents.notice().contains(QLatin1String("UTF-8")));
    f.select(0);
    EXPECT_EQ(f.contents.notice(), QString());
    EXPECT_EQ(f.view.placeholderText(), QString());
}

TEST_F(MailContentsTest, SelectingUnreadMailsRenamesThemAndSchedulesOneCheck)
{
    f.setMails({{"0.new", "zero\n", true}, {"1.new", "one\n", true}, {"7.new", "kept\n", true}, {"7.mail", "old\n"}});
    for (int row : {0, 1, 2})
        f.select(row);
    EXPECT_TRUE(Exists(f.dir.at("0.mail")) && Exists(f.dir.at("1.mail")) && !Exists(f.dir.at("0.new")));
    EXPECT_FALSE(f.titles.titleAt(1)->unreadState());
    // A file with the read name is never replaced: the title stays unread
    // under its old name and the mail is shown all the same.
    EXPECT_EQ(ReadAll(f.dir.at("7.mail")), "old\n");
    EXPECT_TRUE(f.titles.titleAt(2)->unreadState());
    EXPECT_EQ(f.contents.currentPathString(), f.dir.at("7.new"));

    // One check for the three: it starts the utility once, the suite folder in its class path.
    ASSERT_TRUE(MailContents::unreadCheckPending());
    ASSERT_TRUE(WaitUntil([] { return !MailContents::unreadCheckPending(); }));
    ASSERT_TRUE(WaitUntil([&] { return !f.suite.callsOf("java").isEmpty(); }));
    EXPECT_EQ(f.suite.callsOf("java"),
              QList<QByteArray>{"-cp|" + f.suite.suite() + "/tools/WEX_kit.jar:/System/Library/Java/|WEX.UnreadScan"});

    f.titles.selectAndShow(2, MailTitles::Reveal::None, true); // unread still: after the check, one more
    EXPECT_TRUE(MailContents::unreadCheckPending());
}

TEST_F(MailContentsTest, TheCheckStartsNothingWhileTheUtilityOrAPendingStartRuns)
{
    for (const QByteArray ps : {"java -cp x WEX.UnreadScan", "sh -c (sleep 5; nice java)"}) {
        f.suite.running(ps);
        f.contents.launchUnread();
        ASSERT_TRUE(WaitUntil([&] { return f.contents.findChildren<ShellCommand *>().isEmpty(); })); // check ended
        EXPECT_TRUE(f.suite.lines().isEmpty()) << ps.constData();
    }
    f.suite.gone();
    f.contents.launchUnread();
    EXPECT_TRUE(WaitUntil([&] { return f.suite.callsOf("java").size() == 1; }));
}

} // namespace wex::test
