#include "MailDate.h"
#include "PathUtils.h"
#include "ScanFixture.h"
#include "TextDecoder.h"

#include <QRegularExpression>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wex;
using namespace wex::test;

namespace {

using AttachmentFolderTest = ScanFixture;

qint64 MTime(const QByteArray &path)
{
    struct stat st;
    return ::stat(path.constData(), &st) == 0 ? qint64(st.st_mtime) : -1;
}

// Birth time where the file system keeps one, else the modification time.
qint64 CreationTime(const QByteArray &path)
{
    struct statx stx;
    if (::statx(AT_FDCWD, path.constData(), 0, STATX_BTIME | STATX_MTIME, &stx) != 0)
        return -1;
    return (stx.stx_mask & STATX_BTIME) ? stx.stx_btime.tv_sec : stx.stx_mtime.tv_sec;
}

} // namespace

TEST_F(AttachmentFolderTest, FolderWithItsMainTextAndAttachments)
{
    dir.write("x.ygm/x.ygm", "From: a\nSubject: s\n\n");
    dir.write("x.ygm/photo.jpg", "\xff\xd8");
    dir.write("x.ygm/doc.pdf", "%PDF");
    const TitleArray titles = scan();
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].path(), dir.at("x.ygm/x.ygm"));
    EXPECT_EQ(titles[0].state(), "AU");
    EXPECT_EQ(titles[0].from(), "a");
    EXPECT_EQ(titles[0].code(), kShiftJis); // the multipart coding
}

TEST_F(AttachmentFolderTest, MainTextIsLookedForInTableOrder)
{
    struct Case {
        const char *folder;
        QList<const char *> files;
        const char *main;
        const char *state;
    } cases[] = {
        {"a.mpart", {"a.html", "a.mail"}, "a.mail", "A"},
        {"c.mpart", {"c.ygm.html", "c"}, "c.ygm.html", "AUH"},
        {"d.mpart", {"d", "other.ygm"}, "d", "AU"},
        {"e.mail", {"e.iygm", "e.wmail"}, "e.wmail", "AS"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder);
        for (const char *f : c.files)
            dir.write(QByteArray(c.folder) + "/" + f, "");
        QByteArray path = dir.at(c.folder);
        ASSERT_TRUE(scanner.isAttachedMail(&path));
        EXPECT_EQ(path, dir.at(QByteArray(c.folder) + "/" + c.main));
    }
    QByteArray names;
    for (const Title &t : scan())
        names += GetPathBase(t.path()) + ":" + t.state().toLatin1() + " ";
    EXPECT_EQ(names, "a.mail:A c.ygm.html:AUH d:AU e.wmail:AS ");
}

TEST_F(AttachmentFolderTest, FoldersThatAreNoMailsAreNotListed)
{
    dir.write("Archive/Archive.ygm", "From: a\n\n");
    dir.write("notes.folder/notes.ygm", "From: a\n\n");
    dir.mkdir("sub.mpart/sub.ygm"); // a main "text" that is a folder cannot be read
    QByteArray archive = dir.at("Archive");
    EXPECT_FALSE(scanner.isAttachedMail(&archive));
    EXPECT_EQ(archive, dir.at("Archive"));
    EXPECT_TRUE(scan().empty());
}

TEST_F(AttachmentFolderTest, DummyMainTextFromTheFolderName)
{
    const QByteArray folder = dir.mkdir("山田|会議の件.mpart");
    dir.write("山田|会議の件.mpart/agenda.pdf", "%PDF");
    const qint64 created = CreationTime(folder);

    const TitleArray titles = scan();
    ASSERT_EQ(titles.size(), 1u);
    const Title &t = titles[0];
    const QByteArray dummy = folder + "/山田|会議の件.iygm";
    EXPECT_EQ(t.path(), dummy);
    EXPECT_EQ(t.state(), "AUX");
    EXPECT_EQ(t.from(), QString::fromUtf8("山田"));
    EXPECT_EQ(t.subject(), QString::fromUtf8("会議の件"));
    EXPECT_EQ(t.date().secondsSinceEpoch(), created);

    // The text is Shift JIS, its date in C-locale names with the local offset.
    const QByteArray bytes = ReadAll(dummy);
    const QByteArray head = EncodeText(QString::fromUtf8("From: 山田\nSubject: 会議の件\nDate: "), "CP932");
    ASSERT_TRUE(bytes.startsWith(head)) << bytes.toStdString();
    EXPECT_TRUE(bytes.endsWith("\n\n No main text in this mail."));
    const QByteArray date = bytes.mid(head.size(), bytes.indexOf('\n', head.size()) - head.size());
    EXPECT_TRUE(QRegularExpression("^(Mon|Tue|Wed|Thu|Fri|Sat|Sun), \\d\\d "
                                   "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \\d{4} "
                                   "\\d\\d:\\d\\d:\\d\\d [+-]\\d{4}\\(.+\\)$")
                    .match(QString::fromLatin1(date))
                    .hasMatch())
        << date.toStdString();
    EXPECT_EQ(MTime(dummy), created);
    EXPECT_EQ(MTime(folder), created);

    // Written once: a later scan reads the same file and changes nothing.
    SetMTime(dummy, 1600000000);
    EXPECT_EQ(scan().size(), 1u);
    EXPECT_EQ(ReadAll(dummy), bytes);
    EXPECT_EQ(MTime(dummy), 1600000000);
}

TEST_F(AttachmentFolderTest, DummyForANameWithoutSubjectField)
{
    dir.mkdir("plainname.ygm");
    const TitleArray titles = scan();
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].from(), "plainname");
    EXPECT_EQ(titles[0].subject(), "");
    EXPECT_EQ(titles[0].state(), "AUX");
}

TEST_F(AttachmentFolderTest, DummyNeverReplacesWhatIsThere)
{
    // A dangling link where the dummy would go: it does not count as a main
    // text, and the dummy is not written through it.
    const QByteArray folder = dir.mkdir("a|b.mpart");
    const QByteArray link = folder + "/a|b.iygm";
    ASSERT_EQ(::symlink(dir.at("target-elsewhere").constData(), link.constData()), 0);
    EXPECT_TRUE(scan().empty());
    EXPECT_FALSE(Exists(dir.at("target-elsewhere")));
    char target[256] = {};
    EXPECT_GT(::readlink(link.constData(), target, sizeof target - 1), 0);
}
