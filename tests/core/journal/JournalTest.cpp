// The journal against real files: its format, its bound, damage, Undo and
// Redo, and what a killed process leaves behind.
#include "CommandRun.h"
#include "Journal.h"
#include "JournaledMove.h"
#include "MailMove.h"
#include "UndoSteps.h"

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <map>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/wait.h>

namespace {

// A journal at dir/state/journal.
struct JournalAt {
    explicit JournalAt(const TestDir &dir) : journal(dir.pathString() + "/state/journal") {}
    Journal journal;
};

// The non-hidden entries of both folders holding bytes, and all hidden ones.
int Copies(const TestDir &dir, const QByteArray &bytes)
{
    int n = 0;
    for (const QByteArray folder : {"InBox", "Archive"})
        for (const QString &name : Entries(dir.at(folder)))
            n += name.startsWith('.') ? 100 : ReadAll(dir.at(folder + '/' + name.toUtf8())) == bytes;
    return n;
}

} // namespace

TEST(JournalTest, RoundTripKeepsOddPathBytesAndStates)
{
    TestDir dir;
    const QByteArray odd("/a b/%25 x\n\xff\t\xe3\x81\x82/m.mail");
    {
        Journal j(dir.pathString() + "/journal");
        const quint64 step = j.newStep();
        j.finish(j.begin(ChangeKind::Move, odd, odd + "2", step), true);
        j.begin(ChangeKind::Read, "/r", "/r.mail", step);
        j.markStep(step, true);
    }
    const Journal again(dir.pathString() + "/journal");
    ASSERT_FALSE(again.damaged());
    ASSERT_EQ(again.changes().size(), 2u);
    EXPECT_EQ(again.changes()[0].from, odd);
    EXPECT_EQ(again.changes()[0].to, odd + "2");
    EXPECT_EQ(again.changes()[0].state, JournalChange::Done);
    EXPECT_EQ(again.changes()[1].state, JournalChange::Pending);
    EXPECT_EQ(again.changes()[1].kind, ChangeKind::Read);
    EXPECT_TRUE(again.undone(again.changes()[0].step));
}

TEST(JournalTest, RewriteKeepsTheNewestWholeSteps)
{
    TestDir dir;
    QByteArray text = "WEX-JOURNAL 1\n";
    for (int i = 1; i <= 1200; ++i) // steps of 100 changes each
        text += "C " + QByteArray::number(i) + ' ' + QByteArray::number((i - 1) / 100 + 1) + " 0 1 move /a /b\nD "
            + QByteArray::number(i) + '\n';
    dir.write("journal", text);
    Journal(dir.pathString() + "/journal");
    const Journal again(dir.pathString() + "/journal");
    ASSERT_EQ(again.changes().size(), size_t(Journal::kMaxChanges));
    EXPECT_EQ(again.changes().front().seq, 201);
    EXPECT_EQ(again.changes().front().step, 3u);
}

TEST(JournalTest, DamagedOrForeignFileIsKeptAsideAndANewOneStarted)
{
    for (const QByteArray &bad : {QByteArray("To: someone\n"), QByteArray("WEX-JOURNAL 1\nC 1 1 0 1 move /a%zz /b\n"),
                                  QByteArray("WEX-JOURNAL 1\nD 7\n"), QByteArray("WEX-JOURNAL 1\nC 1 1 0 1 fly /a /b\n")}) {
        TestDir dir;
        dir.write("journal", bad);
        Journal j(dir.pathString() + "/journal");
        EXPECT_TRUE(j.damaged()) << bad.constData();
        EXPECT_TRUE(j.changes().empty());
        EXPECT_EQ(ReadAll(QFile::encodeName(j.keptAside())), bad);
        j.begin(ChangeKind::Move, "/a", "/b", 0);
        EXPECT_EQ(Journal(j.path()).changes().size(), 1u) << bad.constData();
    }
}

TEST(JournalTest, UndoAndRedoAStepOfSeveralMailsLeavingOneChangedSince)
{
    TestDir dir;
    JournalAt at(dir);
    dir.mkdir("Archive");
    for (const QByteArray n : {"1.mail", "2.mail", "3.mail"})
        dir.write("InBox/" + n, n);
    const QByteArray unread = dir.write("InBox/4.imail", "4"); // a later step of its own
    MailMover mover(dir.at("Archive"), &at.journal);
    for (const QByteArray n : {"1.mail", "2.mail", "3.mail"})
        ASSERT_TRUE(mover.move(dir.at("InBox/" + n), false).moved());
    ASSERT_TRUE(JournaledMove(&at.journal, unread, dir.at("InBox/4.mail"), ChangeKind::Read).ok());
    UndoSteps undo(at.journal);
    EXPECT_EQ(undo.nextUndo()->kind, ChangeKind::Read);
    EXPECT_EQ(undo.undo().changed, 1);
    EXPECT_TRUE(Exists(unread));
    const std::optional<UndoStep> move = undo.nextUndo();
    ASSERT_TRUE(move);
    EXPECT_EQ(move->mails, 3);
    EXPECT_EQ(move->folder, dir.at("Archive"));
    ASSERT_EQ(::rename(dir.at("Archive/2.mail").constData(), dir.at("Archive/2.rtxt").constData()), 0); // changed since
    const UndoOutcome back = undo.undo();
    EXPECT_EQ(back.changed, 2);
    EXPECT_EQ(back.left, std::vector<QByteArray>{dir.at("Archive/2.mail")});
    EXPECT_TRUE(Exists(dir.at("InBox/1.mail")) && Exists(dir.at("InBox/3.mail")) && Exists(dir.at("Archive/2.rtxt")));
    EXPECT_FALSE(undo.nextUndo());
    EXPECT_EQ(undo.nextRedo()->step, move->step); // the last taken back comes first
    EXPECT_EQ(undo.redo().changed, 2);
    EXPECT_TRUE(Exists(dir.at("Archive/1.mail")) && !Exists(dir.at("InBox/3.mail")));
    EXPECT_EQ(Journal(at.journal.path()).changes().size(), 9u); // survives a restart
}

// A child journals a move to another file system's path and is killed at
// stage: 0 between record and move, 1 with the copy hidden and complete, 2
// with the copy in place and the source still there. The next start leaves
// every mail exactly once.
TEST(JournalTest, RecoveryAfterAKillLeavesEveryMailOnce)
{
    for (int stage = 0; stage < 3; ++stage) {
        TestDir dir;
        dir.mkdir("Archive");
        const QByteArray bytes = "From: a\n\nbody " + QByteArray::number(stage);
        const QByteArray from = dir.write("InBox/m.mail", bytes), to = dir.at("Archive/m.mail");
        const pid_t child = ::fork();
        if (child == 0) {
            Journal j(dir.pathString() + "/journal");
            j.begin(ChangeKind::Move, from, to, 0);
            MoveOptions options;
            options.forceCopy = true;
            options.beforePlacing = [stage] { if (stage == 1) ::raise(SIGKILL); };
            options.syncFolder = [](const QByteArray &) { ::raise(SIGKILL); return 0; };
            if (stage == 0)
                ::raise(SIGKILL);
            SafeMove(from, to, options);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        Journal j(dir.pathString() + "/journal");
        j.recover();
        EXPECT_EQ(Copies(dir, bytes), 1) << stage;
        EXPECT_EQ(j.changes().back().state, stage == 2 ? JournalChange::Done : JournalChange::Failed) << stage;
        EXPECT_EQ(UndoSteps(j).nextUndo().has_value(), stage == 2) << stage;
    }
}

TEST(JournalTest, RecoveryTakesAnIncompleteCopyAway)
{
    TestDir dir;
    const QByteArray from = dir.write("InBox/m.mail", "whole mail text"), to = dir.write("Archive/m.mail", "whole");
    {
        Journal(dir.pathString() + "/journal").begin(ChangeKind::Move, from, to, 0);
    }
    Journal j(dir.pathString() + "/journal");
    EXPECT_EQ(j.recover().size(), 1u);
    EXPECT_EQ(Copies(dir, "whole mail text"), 1);
    EXPECT_FALSE(Exists(to));
}

TEST(JournalTest, CommandPrintsNewestFirstAndRefusesADamagedJournal)
{
    if (WexBinary().isEmpty())
        GTEST_SKIP() << "WEX_BINARY is not set";
    TestDir dir;
    {
        Journal j(dir.pathString() + "/wex-browser/journal");
        j.finish(j.begin(ChangeKind::Move, "/in/a b", "/out/a b", 0), true);
        j.begin(ChangeKind::Read, "/in/c", "/in/c.mail", 0);
    }
    const QList<QPair<QString, QString>> env{{QStringLiteral("XDG_STATE_HOME"), dir.pathString()}};
    const ChildRun run = RunWex({QStringLiteral("--journal")}, env);
    EXPECT_EQ(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith("\tread\tunconfirmed\t/in/c\t/in/c.mail")) << lines[0].constData();
    EXPECT_TRUE(lines[1].endsWith("\tmove\tdone\t/in/a b\t/out/a b")) << lines[1].constData();
    dir.write("wex-browser/journal", "not a journal\n");
    EXPECT_EQ(RunWex({QStringLiteral("--journal")}, env).exitCode, 1);
    EXPECT_EQ(ReadAll(dir.at("wex-browser/journal")), "not a journal\n"); // only read
}

// A move of 1,000 mails to another file system, killed at random moments:
// after the next start every mail is there exactly once, and nothing hidden
// is left.
TEST(JournalTest, AKillAnywhereInALongMoveLeavesEveryMailOnce)
{
    TestDir dir;
    QTemporaryDir other(QStringLiteral("/dev/shm/wex-journal-XXXXXX"));
    struct stat here {}, there {};
    if (!other.isValid() || ::stat(dir.path().constData(), &here) != 0 ||
        ::stat(QFile::encodeName(other.path()).constData(), &there) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    for (int run = 0; run < 4; ++run) {
        const QByteArray box = "InBox" + QByteArray::number(run), inBox = dir.mkdir(box);
        const QByteArray archive = QFile::encodeName(other.path()) + "/Archive" + QByteArray::number(run);
        ASSERT_TRUE(QDir().mkpath(QFile::decodeName(archive)));
        for (int i = 0; i < 1000; ++i)
            dir.write(box + '/' + QByteArray::number(i) + ".mail", "mail " + QByteArray::number(i));
        const QString journal = dir.pathString() + "/journal" + QString::number(run);
        const pid_t child = ::fork();
        if (child == 0) {
            Journal j(journal);
            MailMover mover(archive, &j);
            for (int i = 0; i < 1000; ++i)
                mover.move(inBox + '/' + QByteArray::number(i) + ".mail", false);
            ::_exit(0);
        }
        ::usleep(std::uniform_int_distribution<int>(0, 400000)(random));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        Journal(journal).recover();
        std::map<QByteArray, int> copies;
        for (const QByteArray &folder : {inBox, archive})
            for (const QString &name : Entries(folder)) {
                EXPECT_FALSE(name.startsWith('.')) << "left behind: " << name.toStdString();
                ++copies[ReadAll(folder + '/' + QFile::encodeName(name))];
            }
        EXPECT_EQ(copies.size(), 1000u) << "seed " << seed;
        for (const auto &[bytes, n] : copies)
            EXPECT_EQ(n, 1) << bytes.constData() << ", seed " << seed;
    }
}
