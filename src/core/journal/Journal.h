#pragma once
// The journal of the renames and moves this program makes in the store: the
// ground of Undo and Redo, and of finishing, at the next start, a move that a
// kill interrupted.
//
// A change is written (and flushed to disk) before it is made and confirmed
// after it, so a record without a confirmation is one whose change may have
// stopped half way. Records are appended; the file keeps the last changes
// (kMaxChanges, whole steps) and is rewritten atomically to drop older ones.
// A file that is not a journal, or is damaged, is never trusted: it is kept
// aside under another name and a new journal started.
//
// One Journal per file and process; not for use from several threads at once.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace wex {

enum class ChangeKind {
    Read,    // a mail marked read (renamed to a read name)
    Replied, // a mail marked replied
    Move,    // a mail moved to another folder
    Undo,    // a change of the step taken back
    Redo,    // a change of the step made again
};

struct JournalChange {
    enum State { Pending, Done, Failed };
    qint64 seq = 0;
    quint64 step = 0;   // the command this change belongs to
    qint64 time = 0;    // milliseconds since the epoch
    qint64 pid = 0;     // the process that made it (its hidden move names carry it)
    ChangeKind kind = ChangeKind::Move;
    QByteArray from, to; // file-system bytes
    State state = Pending;
};

class Journal {
public:
    static constexpr int kMaxChanges = 1000;

    // $XDG_STATE_HOME/wex-browser/journal, ~/.local/state/wex-browser/journal
    // when that is unset or not absolute.
    static QString defaultPath();

    // Reads the journal at path (none yet is an empty journal). readOnly
    // never writes, creates or moves anything (a damaged file then reads as
    // empty, with damaged() set).
    explicit Journal(const QString &path, bool readOnly = false);
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    const QString &path() const { return path_; }
    // The file was damaged or foreign; keptAside() names where it went
    // (empty when read-only or when it could not be moved).
    bool damaged() const { return damaged_; }
    const QString &keptAside() const { return keptAside_; }
    // The last write failure, one line; empty when every write succeeded.
    const QString &writeError() const { return writeError_; }

    const std::vector<JournalChange> &changes() const { return changes_; }
    // Whether step was taken back by Undo (and not made again by Redo since).
    bool undone(quint64 step) const;

    // A new command's step id; drops the oldest steps first when the journal
    // has grown past its bound.
    quint64 newStep();
    // Records a change before it is made and flushes it; returns its seq.
    qint64 begin(ChangeKind kind, const QByteArray &from, const QByteArray &to, quint64 step);
    // Confirms a change made (done) or one that did not happen.
    void finish(qint64 seq, bool done);
    // Marks a whole step taken back (undone) or made again.
    void markStep(quint64 step, bool undone);

    // Finishes or takes back the changes of stopped processes that have no
    // confirmation (see Journal.cpp); returns one line for each mail acted on.
    std::vector<QString> recover();

    // Keeps the newest whole steps of at most kMaxChanges changes (always the
    // newest step and every pending change); rewrites the file atomically.
    void compact();

private:
    void load();
    void keepAside();
    bool append(const QByteArray &line, bool flush = true);
    bool rewrite();
    void applyLine(const QByteArray &line, bool *ok);
    JournalChange *find(qint64 seq);

    QString path_;
    bool readOnly_;
    bool damaged_ = false;
    QString keptAside_;
    QString writeError_;
    int fd_ = -1;
    std::vector<JournalChange> changes_;
    std::vector<std::pair<quint64, bool>> stepMarks_; // step, undone; in file order
    qint64 lastSeq_ = 0;
    quint64 lastStep_ = 0;
};

const char *ChangeKindName(ChangeKind kind);

} // namespace wex
