#include "SafeMove.h"

#include "TestStore.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wex;
using test::Exists;
using test::ReadAll;

namespace {

// Everything about a tree that a move must keep: kinds, bytes, link
// targets, permissions and modification times, by relative path.
using Snapshot = QMap<QByteArray, QByteArray>;

void Take(const QByteArray &path, const QByteArray &rel, Snapshot *out)
{
    struct stat st;
    if (lstat(path.constData(), &st) != 0)
        return;
    QByteArray d = QByteArray::number(st.st_mode, 8);
    if (!S_ISLNK(st.st_mode))
        d += " t" + QByteArray::number(qint64(st.st_mtim.tv_sec));
    if (S_ISREG(st.st_mode))
        d += " " + ReadAll(path);
    if (S_ISLNK(st.st_mode)) {
        char buf[4096];
        const ssize_t n = readlink(path.constData(), buf, sizeof buf);
        d += " -> " + QByteArray(buf, n > 0 ? n : 0);
    }
    out->insert(rel, d);
    if (S_ISDIR(st.st_mode)) {
        for (const QString &name : QDir(QFile::decodeName(path)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            Take(path + '/' + QFile::encodeName(name), rel + '/' + QFile::encodeName(name), out);
    }
}

Snapshot Shot(const QByteArray &path)
{
    Snapshot s;
    Take(path, ".", &s);
    return s;
}

QStringList Hidden(const QByteArray &folder)
{
    return QDir(QFile::decodeName(folder)).entryList({".wex-*"}, QDir::AllEntries | QDir::Hidden | QDir::System);
}

// A mail folder: nested files, a subfolder, a link, odd permissions, old times.
QByteArray MakeTree(const test::TestDir &dir, const QByteArray &rel)
{
    const QByteArray top = dir.mkdir(rel);
    dir.write(rel + "/main.txt", "main text\n");
    dir.write(rel + "/parts/image.bin", QByteArray(200000, '\x01') + QByteArray("\0end", 4));
    dir.write(rel + "/parts/deeper/note", "deep");
    dir.write(rel + "/.dotfile", "");
    EXPECT_EQ(symlink("parts/image.bin", (top + "/link").constData()), 0);
    EXPECT_EQ(symlink("/nonexistent/target", (top + "/dangling").constData()), 0);
    chmod((top + "/main.txt").constData(), 0640);
    chmod((top + "/parts/deeper").constData(), 0750);
    test::SetMTime(top + "/main.txt", 1000000000);
    test::SetMTime(top + "/parts/deeper", 1100000000);
    test::SetMTime(top + "/parts", 1200000000);
    test::SetMTime(top, 1300000000);
    return top;
}

// Makes a folder refuse changes for the object's lifetime: by permissions
// for an ordinary user, by the immutable flag for root (who ignores them).
class Locked {
public:
    explicit Locked(const QByteArray &folder) : folder_(folder)
    {
        if (geteuid() != 0)
            ok_ = chmod(folder.constData(), 0555) == 0;
        else
            ok_ = SetImmutable(true);
        const QByteArray probe = folder + "/probe";
        const int fd = open(probe.constData(), O_CREAT | O_WRONLY, 0600);
        if (fd >= 0) { // not locked after all
            close(fd);
            unlink(probe.constData());
            Unlock();
            ok_ = false;
        }
    }
    ~Locked() { Unlock(); }
    bool ok() const { return ok_; }

private:
    bool SetImmutable(bool on)
    {
        const int fd = open(folder_.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        close(fd);
        return done;
    }
    void Unlock()
    {
        if (geteuid() != 0)
            chmod(folder_.constData(), 0755);
        else
            SetImmutable(false);
    }
    QByteArray folder_;
    bool ok_ = false;
};

class SafeMoveTest : public ::testing::TestWithParam<bool> {
protected:
    MoveOptions options() const { MoveOptions o; o.forceCopy = GetParam(); return o; }
    test::TestDir dir;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(RenameAndCopy, SafeMoveTest, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Copy" : "Rename"; });

TEST_P(SafeMoveTest, MovesAFile)
{
    const QByteArray from = dir.write("a.unread", "mail body");
    test::SetMTime(from, 1234567890);
    chmod(from.constData(), 0604);
    const Snapshot before = Shot(from);
    const MoveOutcome o = SafeMove(from, dir.at("a.read"), options());
    ASSERT_TRUE(o.ok()) << o.message.toStdString();
    EXPECT_EQ(o.error, 0);
    EXPECT_FALSE(Exists(from));
    EXPECT_EQ(Shot(dir.at("a.read")), before);
    EXPECT_TRUE(Hidden(dir.path()).isEmpty());
}

TEST_P(SafeMoveTest, MovesAFolderTreeWhole)
{
    const QByteArray from = MakeTree(dir, "mail.fld");
    dir.mkdir("dest");
    const Snapshot before = Shot(from);
    const MoveOutcome o = SafeMove(from + "/", dir.at("dest/mail.fld/"), options());
    ASSERT_TRUE(o.ok()) << o.message.toStdString();
    EXPECT_FALSE(Exists(from));
    EXPECT_EQ(Shot(dir.at("dest/mail.fld")), before);
    EXPECT_TRUE(Hidden(dir.path()).isEmpty());
    EXPECT_TRUE(Hidden(dir.at("dest")).isEmpty());
}

TEST_P(SafeMoveTest, MovesALinkAsALink)
{
    const QByteArray target = dir.mkdir("target");
    ASSERT_EQ(symlink(target.constData(), dir.at("alias").constData()), 0);
    ASSERT_TRUE(SafeMove(dir.at("alias"), dir.at("moved"), options()).ok());
    char buf[4096];
    const ssize_t n = readlink(dir.at("moved").constData(), buf, sizeof buf);
    EXPECT_EQ(QByteArray(buf, n > 0 ? n : 0), target);
    EXPECT_TRUE(Exists(target));
}

TEST_P(SafeMoveTest, NeverReplacesAnExistingItem)
{
    const QByteArray file = dir.write("file", "source");
    const QByteArray folder = MakeTree(dir, "folder");
    const QByteArray otherFile = dir.write("other", "keep me");
    const QByteArray otherFolder = dir.mkdir("otherFolder");
    dir.write("otherFolder/inside", "keep");
    ASSERT_EQ(symlink("nowhere", dir.at("brokenLink").constData()), 0);
    const Snapshot whole = Shot(dir.path());
    const QByteArray pairs[][2] = {
        {file, otherFile}, {file, otherFolder}, {folder, otherFolder}, {folder, otherFile},
        {file, dir.at("brokenLink")}, {folder, dir.at("brokenLink")}, {file, file}, {folder, folder + "/"},
    };
    for (const auto &p : pairs) {
        const MoveOutcome o = SafeMove(p[0], p[1], options());
        EXPECT_EQ(o.status, MoveOutcome::DestinationExists) << p[0].constData() << " -> " << p[1].constData();
        EXPECT_FALSE(o.message.isEmpty());
    }
    EXPECT_EQ(Shot(dir.path()), whole);
}

TEST_P(SafeMoveTest, MissingSource)
{
    const MoveOutcome o = SafeMove(dir.at("none"), dir.at("to"), options());
    EXPECT_EQ(o.status, MoveOutcome::SourceMissing);
    EXPECT_FALSE(Exists(dir.at("to")));
    EXPECT_EQ(SafeMove(QByteArray(), dir.at("to"), options()).status, MoveOutcome::Failed);
    EXPECT_EQ(SafeMove(dir.write("x", "x"), QByteArray(), options()).status, MoveOutcome::Failed);
}

TEST_P(SafeMoveTest, FailuresLeaveTheSourceWhole)
{
    const QByteArray file = dir.write("file", "source");
    const QByteArray folder = MakeTree(dir, "folder");
    const Snapshot whole = Shot(dir.path());
    const QByteArray targets[] = {
        dir.at("file/under"),        // a destination path under a file
        dir.at("missing/parent/x"),  // a destination folder that is not there
        dir.at("folder/parts/x"),    // a folder into itself (for the folder)
    };
    for (const QByteArray &to : targets) {
        for (const QByteArray &from : {file, folder}) {
            if (from == file && to.startsWith(folder))
                continue; // a file may go into that folder
            const MoveOutcome o = SafeMove(from, to, options());
            EXPECT_EQ(o.status, MoveOutcome::Failed) << from.constData() << " -> " << to.constData();
            EXPECT_NE(o.error, 0);
        }
    }
    EXPECT_EQ(Shot(dir.path()), whole);
}

TEST(SafeMove, AFailureInTheMiddleOfACopyLeavesNothingBehind)
{
    test::TestDir dir;
    MoveOptions copy;
    copy.forceCopy = true;
    const QByteArray from = MakeTree(dir, "mail.fld");
    // A pipe cannot be copied; the files listed before it already were.
    ASSERT_EQ(mkfifo((from + "/parts/pipe").constData(), 0600), 0);
    test::SetMTime(from + "/parts", 1200000000);
    dir.mkdir("dest");
    const Snapshot before = Shot(from);
    const MoveOutcome o = SafeMove(from, dir.at("dest/mail.fld"), copy);
    EXPECT_EQ(o.status, MoveOutcome::Failed);
    EXPECT_TRUE(o.message.contains("pipe")) << o.message.toStdString();
    EXPECT_EQ(Shot(from), before);
    EXPECT_TRUE(QDir(dir.pathString() + "/dest").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

TEST_P(SafeMoveTest, ASourceThatCannotBeTakenAwayIsNotCopied)
{
    const QByteArray box = dir.mkdir("locked");
    const QByteArray file = dir.write("locked/a.mail", "body");
    const QByteArray folder = MakeTree(dir, "locked/tree");
    dir.mkdir("dest");
    Locked lock(box);
    if (!lock.ok())
        GTEST_SKIP() << "cannot make a folder refuse changes here";
    const Snapshot before = Shot(box);
    for (const QByteArray &from : {file, folder}) {
        const QByteArray to = dir.at("dest/") + from.mid(from.lastIndexOf('/') + 1);
        const MoveOutcome o = SafeMove(from, to, options());
        EXPECT_EQ(o.status, MoveOutcome::Failed) << from.constData();
        EXPECT_FALSE(Exists(to)) << to.constData();
    }
    EXPECT_EQ(Shot(box), before);
    EXPECT_TRUE(Hidden(dir.at("dest")).isEmpty());
}

TEST(SafeMove, FolderWithALockedSubfolderIsRefusedBeforeCopying)
{
    test::TestDir dir;
    const QByteArray from = MakeTree(dir, "mail.fld");
    dir.mkdir("dest");
    Locked lock(from + "/parts/deeper");
    if (!lock.ok())
        GTEST_SKIP() << "cannot make a folder refuse changes here";
    const Snapshot before = Shot(from);
    MoveOptions copy;
    copy.forceCopy = true;
    const MoveOutcome o = SafeMove(from, dir.at("dest/mail.fld"), copy);
    EXPECT_EQ(o.status, MoveOutcome::Failed);
    EXPECT_EQ(Shot(from), before);
    EXPECT_FALSE(Exists(dir.at("dest/mail.fld")));
    EXPECT_TRUE(Hidden(dir.at("dest")).isEmpty());

    // Removal is refused before anything goes, too.
    const MoveOutcome removed = SafeRemove(from);
    EXPECT_EQ(removed.status, MoveOutcome::Failed);
    EXPECT_EQ(Shot(from), before);
}

TEST(SafeMove, AcrossFileSystems)
{
    test::TestDir disk;
    QTemporaryDir shm(QStringLiteral("/dev/shm/wex-safemove-XXXXXX"));
    if (!shm.isValid())
        GTEST_SKIP() << "no /dev/shm here";
    const QByteArray memory = QFile::encodeName(shm.path());
    struct stat a, b;
    ASSERT_EQ(stat(disk.path().constData(), &a), 0);
    ASSERT_EQ(stat(memory.constData(), &b), 0);
    if (a.st_dev == b.st_dev)
        GTEST_SKIP() << "/dev/shm and " << disk.path().constData() << " are one file system";

    const QByteArray tree = MakeTree(disk, "mail.fld");
    const QByteArray file = disk.write("one.unread", "one mail");
    const Snapshot treeBefore = Shot(tree), fileBefore = Shot(file);

    ASSERT_TRUE(SafeMove(tree, memory + "/mail.fld").ok());
    ASSERT_TRUE(SafeMove(file, memory + "/one.unread").ok());
    EXPECT_FALSE(Exists(tree));
    EXPECT_FALSE(Exists(file));
    EXPECT_EQ(Shot(memory + "/mail.fld"), treeBefore);
    EXPECT_EQ(Shot(memory + "/one.unread"), fileBefore);

    // And back, onto names that are taken: refused, nothing touched.
    disk.write("one.unread", "newer");
    EXPECT_EQ(SafeMove(memory + "/one.unread", file).status, MoveOutcome::DestinationExists);
    EXPECT_EQ(ReadAll(file), QByteArray("newer"));
    EXPECT_EQ(Shot(memory + "/one.unread"), fileBefore);

    ASSERT_TRUE(SafeMove(memory + "/mail.fld", tree).ok());
    EXPECT_EQ(Shot(tree), treeBefore);
    EXPECT_TRUE(Hidden(disk.path()).isEmpty());
    EXPECT_TRUE(Hidden(memory).isEmpty());
}

TEST(SafeRemove, FilesLinksAndTrees)
{
    test::TestDir dir;
    const QByteArray outside = dir.mkdir("outside");
    dir.write("outside/keep", "keep");
    const QByteArray tree = MakeTree(dir, "tree");
    ASSERT_EQ(symlink(outside.constData(), (tree + "/toOutside").constData()), 0);
    ASSERT_EQ(symlink(outside.constData(), dir.at("alias").constData()), 0);
    const QByteArray file = dir.write("file", "x");

    EXPECT_TRUE(SafeRemove(file).ok());
    EXPECT_FALSE(Exists(file));
    EXPECT_TRUE(SafeRemove(dir.at("alias")).ok());
    EXPECT_FALSE(Exists(dir.at("alias")));
    EXPECT_TRUE(SafeRemove(tree).ok());
    EXPECT_FALSE(Exists(tree));
    EXPECT_EQ(ReadAll(dir.at("outside/keep")), QByteArray("keep")); // links were not followed
    EXPECT_EQ(SafeRemove(file).status, MoveOutcome::SourceMissing);
    EXPECT_EQ(SafeRemove(QByteArray()).status, MoveOutcome::Failed);
}

TEST(SafeRemove, NothingGoesWhenTheFolderWillNotLetGo)
{
    test::TestDir dir;
    const QByteArray box = dir.mkdir("box");
    const QByteArray tree = MakeTree(dir, "box/tree");
    const QByteArray file = dir.write("box/file", "x");
    Locked lock(box);
    if (!lock.ok())
        GTEST_SKIP() << "cannot make a folder refuse changes here";
    const Snapshot before = Shot(box);
    EXPECT_EQ(SafeRemove(tree).status, MoveOutcome::Failed);
    EXPECT_EQ(SafeRemove(file).status, MoveOutcome::Failed);
    EXPECT_EQ(Shot(box), before);
}
