#include "MailDate.h"
#include "ScanFixture.h"
#include "TextDecoder.h"

using AttachmentFolderTest = ScanFixture;

static qint64 MTime(const QByteArray &path)
{
    struct stat st;
    return ::stat(path.constData(), &st) == 0 ? qint64(st.st_mtime) : -1;
}

// Birth time where the file system keeps one, else the modification time.
static qint64 CreationTime(const QByteArray &path)
{
    struct statx stx;
    if (::statx(AT_FDCWD, path.constData(), 0, STATX_BTIME | STATX_MTIME, &stx) != 0)
        return -1;
    return (stx.stx_mask & STATX_BTIME) ? stx.stx_btime.tv_sec : stx.stx_mtime.tv_sec;
}

TEST_F(AttachmentFolderTest, MainTextIsLookedForInTableOrder)
{
    struct Case { const char *folder; QList<const char *> files; const char *main; } cases[] = {
        {"a.mpart", {"a.html", "a.mail"}, "a.mail"},  {"c.mpart", {"c.ygm.html", "c"}, "c.ygm.html"},
        {"d.mpart", {"d", "other.ygm"}, "d"},         {"e.mail", {"e.iygm", "e.wmail"}, "e.wmail"},
        {"x.ygm", {"x.ygm", "photo.jpg"}, "x.ygm"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder);
        for (const char *f : c.files)
            dir.write(QByteArray(c.folder) + "/" + f, "From: a\n\n");
        QByteArray path = dir.at(c.folder);
        ASSERT_TRUE(scanner.isAttachedMail(&path));
        EXPECT_EQ(path, dir.at(QByteArray(c.folder) + "/" + c.main));
    }
    // Folders that are no mails are not listed.
    dir.write("Archive/Archive.ygm", "From: a\n\n");
    dir.write("notes.folder/notes.ygm", "From: a\n\n");
    dir.mkdir("sub.mpart/sub.ygm"); // a main "text" that is a folder cannot be read
    QByteArray archive = dir.at("Archive");
    EXPECT_FALSE(scanner.isAttachedMail(&archive));
    EXPECT_EQ(archive, dir.at("Archive"));
    EXPECT_EQ(Names(scan()), "a.mail:A c.ygm.html:AUH d:AU e.wmail:AS x.ygm:AU");
    EXPECT_EQ(scan().back().code(), kShiftJis); // the multipart coding
}

TEST_F(AttachmentFolderTest, DummyMainTextFromTheFolderNameNeverReplacesWhatIsThere)
{
    const QByteArray folder = dir.mkdir("山田|会議の件.mpart");
    dir.write("山田|会議の件.mpart/agenda.pdf", "%PDF");
    dir.mkdir("plainname.ygm");
    const qint64 created = CreationTime(folder);

    const TitleArray titles = scan();
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[0].from() + "|" + titles[0].subject() + "|" + titles[0].state(), "plainname||AUX");
    const Title &t = titles[1];
    const QByteArray dummy = folder + "/山田|会議の件.iygm";
    EXPECT_EQ(t.path(), dummy);
    EXPECT_EQ(t.state(), "AUX");
    EXPECT_EQ(t.from() + "|" + t.subject(), QString::fromUtf8("山田|会議の件"));
    EXPECT_EQ(t.date().secondsSinceEpoch(), created);

    // The text is Shift JIS, its date one the date parser reads back.
    const QByteArray bytes = ReadAll(dummy);
    const QByteArray head = EncodeText(QString::fromUtf8("From: 山田\nSubject: 会議の件\nDate: "), "CP932");
    ASSERT_TRUE(bytes.startsWith(head)) << bytes.toStdString();
    const QByteArray date = bytes.mid(head.size(), bytes.indexOf('\n', head.size()) - head.size());
    EXPECT_EQ(CString2Date(date.constData())->secondsSinceEpoch(), created);
    EXPECT_EQ(MTime(dummy), created);
    EXPECT_EQ(MTime(folder), created);

    // Written once: a later scan reads the same file and changes nothing.
    SetMTime(dummy, 1600000000);
    EXPECT_EQ(scan().size(), 2u);
    EXPECT_EQ(ReadAll(dummy), bytes);
    EXPECT_EQ(MTime(dummy), 1600000000);
    // A dangling link where the dummy would go is no main text, and nothing is written through it.
    const QByteArray link = dir.mkdir("a|b.mpart") + "/a|b.iygm";
    ASSERT_EQ(::symlink(dir.at("target-elsewhere").constData(), link.constData()), 0);
    EXPECT_EQ(scan().size(), 2u);
    EXPECT_FALSE(Exists(dir.at("target-elsewhere")));
    EXPECT_TRUE(Exists(link));
}
