#include "ReadingFixture.h"
#include "ShellCommand.h"
#include "TextDecoder.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wex;
using namespace wex::test;

namespace {

// Recording fakes of the unread check's programs in the suite's tools
// folder, ahead of the system's own (the check's texts need grep, and nice
// runs java): each writes one line to the log; ps prints setPsOutput's text.
class CheckLog {
public:
    explicit CheckLog(const FakeSuite &suite)
        : suite_(suite), path_("PATH", suite.tools() + ":/usr/bin:/bin")
    {
        script("ps", "echo \"ps $*\" >> '%LOG%'\ncat '%LOG%-ps' 2>/dev/null\nexit 0\n");
        script("sleep", "echo \"sleep $*\" >> '%LOG%'\n");
        script("java", "echo \"java $*\" >> '%LOG%'\n");
        ::unlink((suite.tools() + "/nice").constData());
    }
    void setPsOutput(const QByteArray &text) const { write(suite_.log() + "-ps", text); }
    QList<QByteArray> lines() const { return suite_.lines(); }
    // Waits until the log has n lines (or 5 s pass), then a little longer so
    // that any line too many shows up as well.
    QList<QByteArray> waitForLog(qsizetype n) const
    {
        WaitUntil([&] { return lines().size() >= n; });
        QTest::qWait(300);
        return lines();
    }

private:
    static void write(const QByteArray &path, const QByteArray &bytes)
    {
        QFile file(QFile::decodeName(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    void script(const QByteArray &name, QByteArray body) const
    {
        const QByteArray path = suite_.tools() + '/' + name;
        ::unlink(path.constData());
        write(path, "#!/bin/sh\n" + body.replace("%LOG%", suite_.log()));
        ::chmod(path.constData(), 0755);
    }

    const FakeSuite &suite_;
    ScopedEnv path_;
};

void WaitForCheckToFire()
{
    QDeadlineTimer deadline(3000);
    while (MailContents::unreadCheckPending() && !deadline.hasExpired())
        QTest::qWait(20);
}

class MailContentsTest : public ::testing::Test {
protected:
    ~MailContentsTest() override { WaitForCheckToFire(); }
    ReadingFixture f;
    CheckLog suite{f.suite};
};

} // namespace

TEST_F(MailContentsTest, ShowsTheSelectedMailAndClearsOnNoSelection)
{
    const uint32_t sjis = *f.coding.codeForName(QStringLiteral("ShiftJIS"));
    const QString japanese = QString::fromUtf8("件名: テスト\n\n本文です。\n");
    f.setMails({{"0.mail", EncodeText(japanese, "CP932"), false, QStringLiteral("Hello"), sjis},
                {"1.mail", "plain\n", false, QStringLiteral("Second"), 0}});

    f.select(0);
    EXPECT_EQ(f.view()->toPlainText(), japanese);
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("Hello"));
    EXPECT_EQ(f.contents.currentPathString(), f.dir.at("0.mail"));
    EXPECT_EQ(f.view()->font(), *f.fonts.fontFromEncode(sjis));
    EXPECT_EQ(f.contents.notice(), QString());
    EXPECT_FALSE(MailContents::unreadCheckPending()) << "a read mail schedules nothing";

    f.clearSelection();
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("No Mail"));
    EXPECT_EQ(f.view()->toPlainText(), QString());
    EXPECT_TRUE(f.contents.currentPathString().isEmpty());

    // A selection change of another table is not followed.
    QTableView other;
    other.setModel(f.titles.model());
    other.selectRow(1);
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("No Mail"));
}

TEST_F(MailContentsTest, SelectingAnUnreadMailRenamesItAndSchedulesOneCheck)
{
    f.setMails({{"0.new", "zero\n", true}, {"1.new", "one\n", true}, {"2.new", "two\n", true}});
    for (int row : {0, 1, 2})
        f.select(row);
    for (int row : {0, 1, 2}) {
        const QByteArray name = QByteArray::number(row);
        EXPECT_TRUE(Exists(f.dir.at(name + ".mail"))) << row;
        EXPECT_FALSE(Exists(f.dir.at(name + ".new"))) << row;
        EXPECT_FALSE(f.titles.titleAt(row)->unreadState()) << row;
    }
    EXPECT_EQ(f.contents.currentPathString(), f.dir.at("2.mail"));
    EXPECT_EQ(f.view()->toPlainText(), QStringLiteral("two\n"));
    EXPECT_TRUE(MailContents::unreadCheckPending());

    // Three unread mails within a second: one check, which runs the probes
    // and then starts the utility with the suite folder as its class path.
    const QList<QByteArray> log = suite.waitForLog(4);
    ASSERT_EQ(log.size(), 4) << log.join(" | ").toStdString();
    EXPECT_EQ(log[0], "ps xw");
    EXPECT_EQ(log[1], "ps xw");
    EXPECT_EQ(log[2], "sleep 5");
    EXPECT_EQ(log[3], "java -cp " + f.suite.suite() + "/tools/WEX_kit.jar:/System/Library/Java/ WEX.UnreadScan");
    EXPECT_FALSE(MailContents::unreadCheckPending());
}

TEST_F(MailContentsTest, AfterTheCheckFiredTheNextUnreadMailSchedulesAgain)
{
    f.setMails({{"0.new", "zero\n", true}, {"1.new", "one\n", true}});
    f.select(0);
    WaitForCheckToFire();
    suite.waitForLog(4);
    f.select(1);
    EXPECT_TRUE(MailContents::unreadCheckPending());
    EXPECT_EQ(suite.waitForLog(8).size(), 8);
}

TEST_F(MailContentsTest, TheCheckStartsNothingWhileTheUtilityOrAPendingStartRuns)
{
    const struct {
        QByteArray ps;
        qsizetype lines;
    } cases[] = {
        {"12 ?  S  0:01 java -cp x WEX.UnreadScan\n", 1},
        {"13 ?  S  0:00 sh -c (sleep 5; nice java ...)\n", 2},
    };
    for (const auto &c : cases) {
        FakeSuite fresh;
        CheckLog fake(fresh);
        fake.setPsOutput(c.ps);
        f.contents.launchUnread();
        EXPECT_EQ(fake.waitForLog(c.lines).size(), c.lines) << c.ps.constData();
    }
}

TEST_F(MailContentsTest, NeverReplacesAFileThatHasTheReadName)
{
    f.setMails({{"7.new", "the unread one\n", true}, {"7.mail", "an older read one\n"}});
    f.select(0);
    EXPECT_EQ(ReadAll(f.dir.at("7.mail")), "an older read one\n");
    // The title stays unread under its old name; the mail is shown all the same.
    EXPECT_TRUE(f.titles.titleAt(0)->unreadState());
    EXPECT_EQ(f.titles.titleAt(0)->path(), f.dir.at("7.new"));
    EXPECT_EQ(f.view()->toPlainText(), QStringLiteral("the unread one\n"));
    EXPECT_EQ(f.contents.currentPathString(), f.dir.at("7.new"));
}

TEST_F(MailContentsTest, AMailThatCannotBeShownGivesANoticeAndAnEmptyText)
{
    const uint32_t utf8 = *f.coding.codeForName(QStringLiteral("UTF8"));
    f.dir.mkdir("folder.mail");
    ASSERT_EQ(::mkfifo(f.dir.at("fifo.mail").constData(), 0600), 0);
    f.setMails({{"good.mail", "fine\n"}, {"bad.mail", "caf\xe9\n", false, {}, utf8}});
    const QByteArray good = f.dir.at("good.mail");

    const struct {
        QByteArray path;
        const char *notice;
    } cases[] = {
        {f.dir.at("missing.mail"), "could not be read"},
        {f.dir.at("folder.mail"), "could not be read"},
        {f.dir.at("fifo.mail"), "could not be read"},
        {QByteArray("a\0b", 3), "could not be read"},
        {f.dir.at("bad.mail"), "is not valid"},
    };
    for (const auto &c : cases) {
        f.contents.contentsAtPathString(good, enc::UTF8);
        ASSERT_EQ(f.view()->toPlainText(), QStringLiteral("fine\n"));
        f.contents.contentsAtPathString(c.path, enc::UTF8);
        EXPECT_EQ(f.view()->toPlainText(), QString()) << c.path.constData();
        EXPECT_TRUE(f.contents.notice().contains(QLatin1String(c.notice))) << f.contents.notice().toStdString();
        EXPECT_EQ(f.view()->placeholderText(), f.contents.notice());
    }

    // Selected in the table: the window still names the mail; the next good
    // mail clears the notice.
    f.select(1);
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("bad.mail"));
    EXPECT_TRUE(f.contents.notice().contains(QLatin1String("UTF-8")));
    f.select(0);
    EXPECT_EQ(f.contents.notice(), QString());
    EXPECT_EQ(f.view()->placeholderText(), QString());
}
