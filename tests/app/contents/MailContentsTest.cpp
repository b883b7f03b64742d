// The contents view following the title list (decoding, notices, marking read, the unread check) and its text view.
#include "ReadingFixture.h"
#include "ShellCommand.h"
#include "TextDecoder.h"

#include <QPrinter>

namespace wex::test {

class MailContentsTest : public ::testing::Test, protected ReadingFixture {};

TEST_F(MailContentsTest, ShowsTheSelectedMailDecodedOrANoticeAndNoMailWithoutSelection)
{
    const uint32_t sjis = *coding.codeForName(QStringLiteral("ShiftJIS"));
    const QString japanese = QString::fromUtf8("件名: テスト\n\n本文です。\n");
    setMails({{"0.mail", EncodeText(japanese, "CP932"), false, QStringLiteral("Hello"), sjis}});
    select(0);
    EXPECT_EQ(view.toPlainText(), japanese);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Hello"));
    EXPECT_EQ(contents.currentPathString(), dir.at("0.mail"));
    EXPECT_EQ(view.font(), *fonts.fontFromEncode(sjis));
    EXPECT_FALSE(MailContents::unreadCheckPending()) << "a read mail schedules nothing";

    titles.clearSelection();
    EXPECT_NE(window.windowTitle(), QStringLiteral("Hello"));
    EXPECT_TRUE(view.toPlainText().isEmpty() && contents.currentPathString().isEmpty());

    // A mail that cannot be shown gives a notice and an empty text.
    dir.mkdir("folder.mail");
    ASSERT_EQ(::mkfifo(dir.at("fifo.mail").constData(), 0600), 0);
    setMails({{"good.mail", "fine\n"}, {"bad.mail", "caf\xe9\n"}});
    for (const QByteArray &path : {dir.at("missing.mail"), dir.at("folder.mail"), dir.at("fifo.mail"),
                                   QByteArray("a\0b", 3), dir.at("bad.mail")}) {
        contents.contentsAtPathString(dir.at("good.mail"), enc::UTF8);
        ASSERT_EQ(view.toPlainText(), QStringLiteral("fine\n"));
        contents.contentsAtPathString(path, enc::UTF8);
        EXPECT_EQ(view.toPlainText(), QString()) << path.constData();
        EXPECT_FALSE(contents.notice().isEmpty()) << path.constData();
        EXPECT_EQ(view.placeholderText(), contents.notice());
    }

    // Selected: the window still names the mail; the next good mail clears the notice.
    select(1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("bad.mail"));
    EXPECT_TRUE(contents.notice().contains(QLatin1String("UTF-8")));
    select(0);
    EXPECT_EQ(contents.notice(), QString());
    EXPECT_EQ(view.placeholderText(), QString());
}

TEST_F(MailContentsTest, SelectingUnreadMailsRenamesThemAndSchedulesOneCheck)
{
    setMails({{"0.new", "zero\n", true}, {"1.new", "one\n", true}, {"7.new", "kept\n", true}, {"7.mail", "old\n"}});
    for (int row : {0, 1, 2})
        select(row);
    EXPECT_TRUE(Exists(dir.at("0.mail")) && Exists(dir.at("1.mail")) && !Exists(dir.at("0.new")));
    EXPECT_FALSE(titles.titleAt(1)->unreadState());
    // A file with the read name is never replaced: the title stays unread
    // under its old name and the mail is shown all the same.
    EXPECT_EQ(ReadAll(dir.at("7.mail")), "old\n");
    EXPECT_TRUE(titles.titleAt(2)->unreadState());
    EXPECT_EQ(contents.currentPathString(), dir.at("7.new"));

    // One check for the three: it starts the utility once, the suite folder in its class path.
    ASSERT_TRUE(MailContents::unreadCheckPending());
    ASSERT_TRUE(WaitUntil([] { return !MailContents::unreadCheckPending(); }));
    ASSERT_TRUE(WaitUntil([&] { return !suite.callsOf("java").isEmpty(); }));
    EXPECT_EQ(suite.callsOf("java"),
              QList<QByteArray>{"-cp|" + suite.suite() + "/tools/WEX_kit.jar:/System/Library/Java/|WEX.UnreadScan"});

    titles.selectAndShow(2, MailTitles::Reveal::None, true); // unread still: after the check, one more
    EXPECT_TRUE(MailContents::unreadCheckPending());
}

TEST_F(MailContentsTest, TheCheckStartsNothingWhileTheUtilityOrAPendingStartRuns)
{
    for (const QByteArray ps : {"java -cp x WEX.UnreadScan", "sh -c (sleep 5; nice java)"}) {
        suite.running(ps);
        contents.launchUnread();
        ASSERT_TRUE(WaitUntil([&] { return contents.findChildren<ShellCommand *>().isEmpty(); })); // check ended
        EXPECT_TRUE(suite.lines().isEmpty()) << ps.constData();
    }
    suite.gone();
    contents.launchUnread();
    EXPECT_TRUE(WaitUntil([&] { return suite.callsOf("java").size() == 1; }));
}

TEST(PrintableText, LeavesOutTheRealHeadersAndTheFiveCharactersBeforeThem)
{
    const QString marker = QStringLiteral("<!-- Real Mail Headers -->");
    EXPECT_EQ(PrintableText("Hello\n" + marker.chopped(1)), "Hello\n" + marker.chopped(1)) << "no whole marker";
    EXPECT_EQ(PrintableText("123456" + marker + "\nReceived: x\n"), "1");
    EXPECT_EQ(PrintableText("12" + marker + "tail"), "") << "within the first five";
    EXPECT_EQ(PrintableText("abcdefgh" + marker + "x" + marker), "abc") << "the first marker counts";
}

TEST(BrowserTextView, ALongTextArrivesInPiecesYetPrintsWholeAndANewTextReplacesIt)
{
    TestDir dir;
    BrowserTextView view;
    QString text;
    for (int i = 0; text.size() < 300 * 1000; ++i)
        text += QStringLiteral("line %1 of a long mail \u3042\U0001F600\n").arg(i);
    text += QStringLiteral("<!-- Real Mail Headers -->\nReceived: by x\n");
    view.showText(text);
    ASSERT_TRUE(view.isLoading());
    EXPECT_LT(view.toPlainText().size(), text.size());

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.pathString() + "/out.pdf");
    view.printTo(&printer);
    EXPECT_EQ(view.hiddenText()->toPlainText(), PrintableText(text));

    ASSERT_TRUE(WaitUntil([&] { return !view.isLoading(); }));
    EXPECT_EQ(view.toPlainText(), text);
    EXPECT_EQ(view.textCursor().position(), 0) << "still at the start";

    view.showText(text);
    view.showText(QStringLiteral("short\n"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.isLoading());
    EXPECT_EQ(view.toPlainText(), QStringLiteral("short\n"));
}

} // namespace wex::test
