#include "SafeMove.h"
#include "Coding.h"
#include "CoreTest.h"
#include "FileTree.h"
#include "FolderScan.h"

#include <QMap>
#include <csignal>
#include <linux/fs.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>

// Kinds, bytes, link targets, permissions and modification times, by relative path.
using Snapshot = QMap<QByteArray, QByteArray>;

static void Take(const QByteArray &path, const QByteArray &rel, Snapshot *out)
{
    struct stat st;
    if (lstat(path.constData(), &st) != 0)
        return;
    char target[4096];
    const ssize_t n = S_ISLNK(st.st_mode) ? readlink(path.constData(), target, sizeof target) : 0;
    out->insert(rel, QByteArray::number(st.st_mode, 8) + (S_ISLNK(st.st_mode) ? " -> " + QByteArray(target, n > 0 ? n : 0)
                                                                              : " t" + QByteArray::number(qint64(st.st_mtim.tv_sec)))
                         + (S_ISREG(st.st_mode) ? " " + ReadAll(path) : QByteArray()));
    if (S_ISDIR(st.st_mode)) {
        for (const QString &name : Entries(path))
            Take(path + '/' + QFile::encodeName(name), rel + '/' + QFile::encodeName(name), out);
    }
}

static Snapshot Shot(const QByteArray &path)
{
    Snapshot s;
    Take(path, ".", &s);
    return s;
}

static QStringList Hidden(const QByteArray &folder) { return Entries(folder, {".wex-*"}); }

// A mail folder: nested files, a subfolder, a link, odd permissions, old times.
static QByteArray MakeTree(const TestDir &dir, const QByteArray &rel)
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
    for (const auto &[rel, time] : {std::pair<const char *, qint64>{"/main.txt", 1000000000},
                                    {"/parts/deeper", 1100000000}, {"/parts", 1200000000}, {"", 1300000000}})
        SetMTime(top + rel, time);
    return top;
}

struct Mode { const char *name; MoveOptions options; };

void PrintTo(const Mode &mode, std::ostream *os) { *os << mode.name; }

static MoveOptions Options(bool copy, bool noFlag, bool noLinks)
{
    MoveOptions o;
    std::tie(o.forceCopy, o.noRenameFlag, o.noHardLinks) = std::tie(copy, noFlag, noLinks);
    return o;
}
const MoveOptions kCopy = Options(true, false, false);

// Rename with RENAME_NOREPLACE, its fallbacks (link and unlink; a checked rename), and the copy path.
const Mode kModes[] = {
    {"Rename", Options(false, false, false)}, {"Link", Options(false, true, false)},
    {"CheckedRename", Options(false, true, true)}, {"Copy", kCopy},
    {"CopyByLink", Options(true, true, false)}, {"CopyWithoutLinks", Options(true, true, true)},
};

class SafeMoveTest : public ::testing::TestWithParam<Mode> {
protected:
    MoveOptions options() const { return GetParam().options; }
    TestDir dir;
};

INSTANTIATE_TEST_SUITE_P(EveryPath, SafeMoveTest, ::testing::ValuesIn(kModes),
                         [](const auto &info) { return info.param.name; });

TEST_P(SafeMoveTest, MovesFilesFoldersAndLinksWhole)
{
    const QByteArray file = dir.write("a.unread", "mail body");
    SetMTime(file, 1234567890);
    chmod(file.constData(), 0604);
    const QByteArray tree = MakeTree(dir, "mail.fld");
    ASSERT_EQ(symlink(tree.constData(), dir.at("alias").constData()), 0);
    dir.mkdir("dest");
    const QByteArray moves[][2] = {
        {file, dir.at("a.read")}, {tree + "/", dir.at("dest/mail.fld/")}, {dir.at("alias"), dir.at("moved")}};
    for (const auto &m : moves) {
        const Snapshot before = Shot(m[0]);
        const MoveOutcome o = SafeMove(m[0], m[1], options());
        ASSERT_TRUE(o.ok()) << o.message.toStdString();
        EXPECT_EQ(o.error, 0);
        EXPECT_FALSE(Exists(m[0]));
        EXPECT_EQ(Shot(m[1]), before) << m[1].constData();
    }
    EXPECT_TRUE(Hidden(dir.path()).isEmpty());
    EXPECT_TRUE(Hidden(dir.at("dest")).isEmpty());
}

// A taken name (never replaced), a destination that cannot be, or no source: nothing changes.
TEST_P(SafeMoveTest, RefusedMovesChangeNothing)
{
    const QByteArray file = dir.write("file", "source"), folder = MakeTree(dir, "folder");
    const QByteArray otherFile = dir.write("other", "keep me"), otherFolder = dir.mkdir("otherFolder");
    const QByteArray emptyFolder = dir.mkdir("emptyFolder"), brokenLink = dir.at("brokenLink");
    dir.write("otherFolder/inside", "keep");
    ASSERT_EQ(symlink("nowhere", brokenLink.constData()), 0);
    const Snapshot whole = Shot(dir.path());
    const auto exists = MoveOutcome::DestinationExists, failed = MoveOutcome::Failed;
    const struct { QByteArray from, to; MoveOutcome::Status status; } cases[] = {
        {file, otherFile, exists}, {file, otherFolder, exists}, {folder, otherFolder, exists},
        {folder, otherFile, exists}, {folder, emptyFolder, exists}, {file, brokenLink, exists},
        {folder, brokenLink, exists}, {file, file, exists}, {folder, folder + "/", exists},
        {file, dir.at("file/under"), failed}, {folder, dir.at("file/under"), failed}, // under a file
        {file, dir.at("missing/parent/x"), failed}, {folder, dir.at("missing/parent/x"), failed},
        {folder, dir.at("folder/parts/x"), failed}, // a folder into itself
        {dir.at("none"), dir.at("to"), MoveOutcome::SourceMissing}, {{}, dir.at("to"), failed}, {file, {}, failed},
    };
    for (const auto &c : cases) {
        const MoveOutcome o = SafeMove(c.from, c.to, options());
        EXPECT_EQ(o.status, c.status) << c.from.constData() << " -> " << c.to.constData();
        EXPECT_NE(o.error, 0);
        EXPECT_FALSE(o.message.isEmpty());
    }
    EXPECT_EQ(Shot(dir.path()), whole);
}

TEST_P(SafeMoveTest, ASourceThatCannotBeTakenAwayIsNotCopied)
{
    const MoveOptions opts = options();
    UNPRIVILEGED([opts] {
        TestDir dir;
        const QByteArray box = dir.mkdir("locked"), file = dir.write("locked/a.mail", "body");
        const QByteArray folder = MakeTree(dir, "locked/tree");
        dir.mkdir("dest");
        ASSERT_EQ(chmod(box.constData(), 0555), 0);
        const Snapshot before = Shot(box);
        for (const QByteArray &from : {file, folder}) {
            const QByteArray to = dir.at("dest/") + from.mid(from.lastIndexOf('/') + 1);
            const MoveOutcome o = SafeMove(from, to, opts);
            EXPECT_EQ(o.status, MoveOutcome::Failed) << from.constData();
            EXPECT_FALSE(Exists(to)) << to.constData();
        }
        EXPECT_EQ(Shot(box), before);
        EXPECT_TRUE(Hidden(dir.at("dest")).isEmpty());
        chmod(box.constData(), 0755);
    });
}

// A copy that fails part way, or cannot be flushed once in place, leaves the source whole and no copy.
TEST(SafeMove, ACopyThatFailsPartWayLeavesNothingBehind)
{
    TestDir dir;
    const QByteArray from = MakeTree(dir, "mail.fld"), dest = dir.mkdir("dest");
    MoveOptions unflushable = kCopy;
    unflushable.syncFolder = [](const QByteArray &) { return EIO; };
    Snapshot before = Shot(from);
    MoveOutcome o = SafeMove(from, dest + "/mail.fld", unflushable);
    EXPECT_EQ(o.status, MoveOutcome::Failed);
    EXPECT_EQ(o.error, EIO);
    EXPECT_EQ(Shot(from), before);
    EXPECT_TRUE(Entries(dest).isEmpty());
    // A pipe cannot be copied; the files listed before it already were.
    ASSERT_EQ(mkfifo((from + "/parts/pipe").constData(), 0600), 0);
    SetMTime(from + "/parts", 1200000000);
    before = Shot(from);
    o = SafeMove(from, dest + "/mail.fld", kCopy);
    EXPECT_EQ(o.status, MoveOutcome::Failed);
    EXPECT_TRUE(o.message.contains("pipe")) << o.message.toStdString();
    EXPECT_EQ(Shot(from), before);
    EXPECT_TRUE(Entries(dest).isEmpty());
}

// A name taken by another program while a copy is made drops the finished copy.
TEST(SafeMove, ADestinationThatAppearsWhileCopyingIsNeverReplaced)
{
    for (const Mode &mode : kModes) {
        if (!mode.options.forceCopy)
            continue;
        for (const bool folder : {false, true}) {
            SCOPED_TRACE(std::string(mode.name) + (folder ? " folder" : " file"));
            TestDir dir;
            const QByteArray from = folder ? MakeTree(dir, "mail.fld") : dir.write("a.mail", "source");
            const QByteArray to = dir.mkdir("dest") + "/new";
            const Snapshot before = Shot(from);
            MoveOptions options = mode.options;
            // An empty folder is what a plain rename would replace.
            options.beforePlacing = [&] { folder ? (void)dir.mkdir("dest/new") : (void)dir.write("dest/new", "newcomer"); };
            const MoveOutcome o = SafeMove(from, to, options);
            EXPECT_EQ(o.status, MoveOutcome::DestinationExists) << o.message.toStdString();
            EXPECT_EQ(Shot(from), before);
            EXPECT_TRUE(folder ? Entries(to).isEmpty() : ReadAll(to) == "newcomer");
            EXPECT_TRUE(Hidden(dir.at("dest")).isEmpty());
        }
    }
}

// Hidden names a crashed process of the same number left are worked around and left alone.
TEST(SafeMove, StaleHiddenNamesFromACrashAreLeftAlone)
{
    for (const bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "folder" : "file");
        TestDir dir;
        const QByteArray from = folder ? MakeTree(dir, "mail.fld") : dir.write("a.mail", "source");
        const QByteArray to = dir.mkdir("dest") + "/moved";
        const QByteArray staleCopy = dir.write(filetree::HiddenName(to, "copy", 0).mid(dir.path().size() + 1), "stale copy");
        const QByteArray staleGone = dir.mkdir(filetree::HiddenName(from, "gone", 0).mid(dir.path().size() + 1));
        const Snapshot before = Shot(from);
        const MoveOutcome o = SafeMove(from, to, kCopy);
        ASSERT_TRUE(o.ok()) << o.message.toStdString();
        EXPECT_EQ(Shot(to), before);
        EXPECT_FALSE(Exists(from));
        EXPECT_EQ(ReadAll(staleCopy), "stale copy");
        EXPECT_TRUE(Exists(staleGone));
        EXPECT_EQ(Hidden(dir.at("dest")).size() + Hidden(dir.path()).size(), 2);
    }
}

// Once the copy is in place the move is done: a source that will not go stays hidden.
TEST(SafeMove, ALeftoverThatCannotBeRemovedDoesNotUndoTheMove)
{
    UNPRIVILEGED([] {
        TestDir dir;
        const QByteArray from = MakeTree(dir, "mail.fld"), to = dir.mkdir("dest") + "/mail.fld";
        const Snapshot before = Shot(from);
        MoveOptions options = kCopy;
        options.beforePlacing = [&] { chmod((from + "/parts/deeper").constData(), 0500); };
        const MoveOutcome o = SafeMove(from, to, options);
        EXPECT_TRUE(o.ok());
        EXPECT_NE(o.error, 0);
        EXPECT_TRUE(o.message.contains("leftover")) << o.message.toStdString();
        EXPECT_EQ(Shot(to), before);
        EXPECT_FALSE(Exists(from));
        const QStringList leftovers = Hidden(dir.path());
        ASSERT_EQ(leftovers.size(), 1);
        chmod((dir.at(QFile::encodeName(leftovers[0])) + "/parts/deeper").constData(), 0755);
    });
}

// Between file systems a move copies: there and back, whole, never onto a taken name.
TEST(SafeMove, AcrossFileSystems)
{
    TestDir disk;
    struct stat here, there;
    ASSERT_EQ(stat(disk.path().constData(), &here), 0);
    // A memory file system of its own where this process may mount one.
    TestDir mountPoint;
    const bool mounted = ::mount("tmpfs", mountPoint.path().constData(), "tmpfs", 0, "size=8m") == 0;
    struct Unmount {
        bool on;
        QByteArray at;
        ~Unmount() { on &&::umount2(at.constData(), MNT_DETACH) == 0; }
    } unmount{mounted, mountPoint.path()};
    std::unique_ptr<QTemporaryDir> other; // gone before the unmount
    for (const QString &folder : {mountPoint.pathString(), QStringLiteral("/dev/shm"), QStringLiteral("/run/shm"),
                                 QStringLiteral("/var/tmp"), QStringLiteral("/tmp")}) {
        if (!other && stat(QFile::encodeName(folder).constData(), &there) == 0 && there.st_dev != here.st_dev)
            other = std::make_unique<QTemporaryDir>(folder + "/wex-safemove-XXXXXX");
    }
    if (!other || !other->isValid())
        WEX_SKIP_UNLESS_CI("no writable folder on another file system than " << disk.path().constData());
    const QByteArray memory = QFile::encodeName(other->path());
    const QByteArray tree = MakeTree(disk, "mail.fld"), file = disk.write("one.unread", "one mail");
    const Snapshot treeBefore = Shot(tree), fileBefore = Shot(file);
    ASSERT_TRUE(SafeMove(tree, memory + "/mail.fld").ok());
    ASSERT_TRUE(SafeMove(file, memory + "/one.unread").ok());
    EXPECT_FALSE(Exists(tree) || Exists(file));
    EXPECT_EQ(Shot(memory + "/one.unread"), fileBefore);
    disk.write("one.unread", "newer");
    EXPECT_EQ(SafeMove(memory + "/one.unread", file).status, MoveOutcome::DestinationExists);
    EXPECT_EQ(ReadAll(file), QByteArray("newer"));
    ASSERT_TRUE(SafeMove(memory + "/mail.fld", tree).ok());
    EXPECT_EQ(Shot(tree), treeBefore);
    EXPECT_TRUE(Hidden(disk.path()).isEmpty() && Hidden(memory).isEmpty());
}

TEST(SafeRemove, FilesLinksAndTrees)
{
    TestDir dir;
    const QByteArray outside = dir.mkdir("outside");
    dir.write("outside/keep", "keep");
    const QByteArray tree = MakeTree(dir, "tree");
    ASSERT_EQ(symlink(outside.constData(), (tree + "/toOutside").constData()), 0);
    ASSERT_EQ(symlink(outside.constData(), dir.at("alias").constData()), 0);
    const QByteArray file = dir.write("file", "x");

    for (const QByteArray &path : {file, dir.at("alias"), tree}) {
        EXPECT_TRUE(SafeRemove(path).ok()) << path.constData();
        EXPECT_FALSE(Exists(path));
    }
    EXPECT_EQ(ReadAll(dir.at("outside/keep")), QByteArray("keep")); // links were not followed
    EXPECT_EQ(SafeRemove(file).status, MoveOutcome::SourceMissing);
    EXPECT_EQ(SafeRemove(QByteArray()).status, MoveOutcome::Failed);
}

// A tree that cannot be emptied, or whose folder will not let it go, is refused before anything goes.
TEST(SafeRemove, NothingGoesWhenAFolderWillNotLetGo)
{
    UNPRIVILEGED([] {
        TestDir dir;
        const QByteArray box = dir.mkdir("box"), tree = MakeTree(dir, "box/tree"), file = dir.write("box/file", "x");
        dir.mkdir("dest");
        ASSERT_EQ(chmod((tree + "/parts/deeper").constData(), 0555), 0);
        Snapshot before = Shot(box);
        EXPECT_EQ(SafeMove(tree, dir.at("dest/tree"), kCopy).status, MoveOutcome::Failed);
        EXPECT_EQ(SafeRemove(tree).status, MoveOutcome::Failed);
        EXPECT_TRUE(Entries(dir.at("dest")).isEmpty());
        EXPECT_EQ(Shot(box), before);

        chmod((tree + "/parts/deeper").constData(), 0750);
        ASSERT_EQ(chmod(box.constData(), 0555), 0);
        before = Shot(box);
        EXPECT_EQ(SafeRemove(tree).status, MoveOutcome::Failed);
        EXPECT_EQ(SafeRemove(file).status, MoveOutcome::Failed);
        EXPECT_EQ(Shot(box), before);
        chmod(box.constData(), 0755);
    });
}

// One part that may not go keeps its folder whole against a removal and a copying move.
TEST(SafeMoveFaults, APinnedPartKeepsItsFolderWhole)
{
    TestDir dir;
    const QByteArray tree = MakeTree(dir, "6.mpart"), dest = dir.mkdir("dest");
    for (const auto &[part, flag] : {std::pair{"/parts/deeper/note", FS_IMMUTABLE_FL}, {"/parts/image.bin", FS_APPEND_FL},
                                     {"/parts", FS_APPEND_FL}}) {
        SCOPED_TRACE(part);
        const Snapshot before = Shot(tree);
        const Pinned pin(tree + part, flag);
        if (!pin.ok())
            GTEST_SKIP() << "file flags cannot be set here (not root, or not on this file system)";
        EXPECT_EQ(SafeRemove(tree).status, MoveOutcome::Failed);
        EXPECT_EQ(SafeMove(tree, dir.at("dest/6.mpart"), kCopy).status, MoveOutcome::Failed);
        EXPECT_EQ(Shot(tree), before);
        EXPECT_TRUE(Entries(dest).isEmpty());
        EXPECT_TRUE(Hidden(dir.path()).isEmpty());
    }
}

// A copy whose writes fail part way (a file-size limit, as a full disk would) keeps the source and no copy.
TEST(SafeMoveFaults, AFullDestinationKeepsTheSource)
{
    TestDir dir;
    const QByteArray tree = MakeTree(dir, "mail.fld"), dest = dir.mkdir("dest");
    dir.write("mail.fld/parts/big.bin", QByteArray(600000, 'b'));
    const Snapshot before = Shot(tree);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{256 * 1024, 256 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(SafeMove(tree, dest + "/mail.fld", kCopy).status == MoveOutcome::Failed ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Shot(tree), before);
    EXPECT_TRUE(Entries(dest).isEmpty());
}

// A mover killed at any moment loses and damages no mail; its debris goes at the next clean-up.
TEST(SafeMoveFaults, AMoverKilledAtRandomLosesNoMail)
{
    constexpr int kMails = 120, kRuns = 12;
    int duplicated = 0;
    std::srand(unsigned(::getpid()));
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE(run);
        TestDir dir;
        QMap<QByteArray, QByteArray> mails; // name -> bytes
        for (int i = 0; i < kMails; ++i) {
            const QByteArray name = QByteArray::number(i) + (i % 7 == 0 ? ".mpart" : ".mail");
            const QByteArray bytes = QByteArray(1000 + 997 * i % 40000, char('a' + i % 26)) + QByteArray::number(i);
            if (name.endsWith(".mpart")) {
                dir.write("InBox/" + name + "/" + QByteArray::number(i) + ".mail", bytes);
                dir.write("InBox/" + name + "/part.bin", bytes + bytes);
            } else {
                dir.write("InBox/" + name, bytes);
            }
            mails.insert(name, Shot(dir.at("InBox/" + name)).values().join('|'));
        }
        dir.mkdir("Archive");
        const pid_t child = ::fork();
        if (child == 0) {
            for (auto it = mails.keyBegin(); it != mails.keyEnd(); ++it)
                SafeMove(dir.at("InBox/" + *it), dir.at("Archive/" + *it), kCopy);
            ::_exit(0);
        }
        ::usleep(useconds_t(std::rand() % 60000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        for (const char *folder : {"InBox", "Archive"})
            EXPECT_GE(ClearMoveLeftovers(dir.at(folder), false), 0);
        EXPECT_TRUE(Hidden(dir.at("InBox")).isEmpty() && Hidden(dir.at("Archive")).isEmpty());
        for (auto it = mails.cbegin(); it != mails.cend(); ++it) {
            int copies = 0;
            for (const char *folder : {"InBox/", "Archive/"}) {
                const QByteArray path = dir.at(folder + it.key());
                if (!Exists(path))
                    continue;
                ++copies;
                EXPECT_EQ(Shot(path).values().join('|'), it.value()) << "damaged: " << path.constData();
            }
            EXPECT_GE(copies, 1) << "lost: " << it.key().constData();
            duplicated += copies > 1;
        }
    }
    // In both folders (the copy in place, the source not yet gone) is rare and no loss.
    RecordProperty("duplicated", duplicated);
}

// A gone process's debris goes at the next listing; a running one's stays; our own goes when asked.
TEST(SafeMoveFaults, DebrisGoesAtTheNextListingOnceItsProcessIsGone)
{
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    TestDir dir;
    dir.write("InBox/1.mail", "Subject: kept\n\nbody\n");
    const auto debris = [&](const char *tag, long pid) {
        return dir.write("InBox/.wex-" + QByteArray(tag) + '-' + QByteArray::number(qint64(pid)) + "-0-2.mail/x", "x");
    };
    const QByteArray dead = debris("copy", gone), running = debris("gone", 1), own = debris("gone", ::getpid());
    const Coding coding;
    FolderScanOptions options;
    options.useCache = false;
    FolderScan scan(coding, dir.at("InBox"), options);
    scan.run();
    ASSERT_EQ(scan.takeTitles().size(), 1u);
    EXPECT_FALSE(Exists(dead));
    EXPECT_TRUE(Exists(running) && Exists(own));
    EXPECT_EQ(ClearMoveLeftovers(dir.at("InBox"), true), 1);
    EXPECT_TRUE(Exists(running));
    EXPECT_FALSE(Exists(own));
}
