// The journal file, one record a line:
//
//   WEX-JOURNAL 1                            the first line, always
//   C seq step time pid kind from to         a change, written before it is made
//   D seq | F seq                            confirmed done | did not happen
//   U step | R step                          a step taken back | made again
//
// Paths are file-system bytes and may hold any byte but NUL: spaces, line
// breaks, invalid UTF-8. They are percent-encoded (every byte but letters,
// digits, "-._~" and "/"), so a record is one line of plain ASCII that splits
// on spaces, reads the same in any locale and stays readable for the common
// path; a line with anything else is damage, never guessed at.
//
// Each line goes out in one write() on a file opened for appending and is
// flushed before the change is made, so a kill leaves whole lines and at
// most one torn last line (a record whose change never started).
#include "Journal.h"

#include "PathUtils.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace wex {
namespace {

constexpr char kHeader[] = "WEX-JOURNAL 1";

const char *const kKindNames[] = {"read", "replied", "move", "undo", "redo"};

bool ValidPathField(const QByteArray &field)
{
    if (field.isEmpty())
        return false;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '%') {
            if (i + 2 >= field.size())
                return false;
            if (!std::isxdigit(static_cast<unsigned char>(field[i + 1]))
                || !std::isxdigit(static_cast<unsigned char>(field[i + 2])))
                return false;
            i += 2;
        } else if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("-._~/", c)) {
            return false;
        }
    }
    return true;
}

bool ToNumber(const QByteArray &field, qint64 *value)
{
    bool ok = false;
    *value = field.toLongLong(&ok);
    return ok && *value >= 0;
}

} // namespace

const char *ChangeKindName(ChangeKind kind) { return kKindNames[int(kind)]; }

QString Journal::defaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/wex-browser/journal");
}

Journal::Journal(const QString &path, bool readOnly) : path_(path), readOnly_(readOnly) { load(); }

Journal::~Journal()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void Journal::applyLine(const QByteArray &line, bool *ok)
{
    const QList<QByteArray> f = line.split(' ');
    qint64 n[4] = {};
    if (f[0] == "C" && f.size() == 8 && ToNumber(f[1], &n[0]) && ToNumber(f[2], &n[1]) && ToNumber(f[3], &n[2])
        && ToNumber(f[4], &n[3]) && ValidPathField(f[6]) && ValidPathField(f[7])) {
        const auto kind = std::find(std::begin(kKindNames), std::end(kKindNames), f[5]);
        if (kind == std::end(kKindNames) || n[0] <= lastSeq_) {
            *ok = false;
            return;
        }
        JournalChange c;
        c.seq = n[0];
        c.step = quint64(n[1]);
        c.time = n[2];
        c.pid = n[3];
        c.kind = ChangeKind(kind - std::begin(kKindNames));
        c.from = QByteArray::fromPercentEncoding(f[6]);
        c.to = QByteArray::fromPercentEncoding(f[7]);
        lastSeq_ = c.seq;
        lastStep_ = std::max(lastStep_, c.step);
        changes_.push_back(c);
    } else if ((f[0] == "D" || f[0] == "F") && f.size() == 2 && ToNumber(f[1], &n[0]) && find(n[0])) {
        find(n[0])->state = f[0] == "D" ? JournalChange::Done : JournalChange::Failed;
    } else if ((f[0] == "U" || f[0] == "R") && f.size() == 2 && ToNumber(f[1], &n[0])) {
        stepMarks_.emplace_back(quint64(n[0]), f[0] == "U");
    } else {
        *ok = false;
    }
}

void Journal::load()
{
    QFile file(path_);
    bool ok = true;
    bool torn = false;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray all = file.readAll();
        file.close();
        QList<QByteArray> lines = all.split('\n');
        // A kill while writing leaves a torn last line: a change not yet begun.
        torn = !lines.last().isEmpty();
        lines.removeLast();
        ok = !lines.isEmpty() && lines.first() == kHeader;
        for (qsizetype i = 1; ok && i < lines.size(); ++i)
            applyLine(lines[i], &ok);
        if (!ok && !all.isEmpty()) {
            changes_.clear();
            stepMarks_.clear();
            lastSeq_ = 0;
            lastStep_ = 0;
            damaged_ = true;
        } else if (!ok) {
            ok = true; // an empty file is a journal not yet begun
        }
    } else if (file.exists()) {
        damaged_ = true; // cannot be read: never trusted, never written over
    }
    if (readOnly_)
        return;
    if (damaged_)
        keepAside();
    if (damaged_ && keptAside_.isEmpty())
        return; // never written over; this run journals nothing
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (torn || !QFile::exists(path_) || QFileInfo(path_).size() == 0)
        rewrite();
    fd_ = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd_ < 0)
        writeError_ = Localize(QT_TRANSLATE_NOOP("WEX", "Cannot open the journal %1: %2")).arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
    else if (changes_.size() > size_t(kMaxChanges))
        compact();
}

void Journal::keepAside()
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddThhmmss"));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString aside = path_ + QStringLiteral(".damaged-") + stamp + (attempt ? QStringLiteral("-%1").arg(attempt) : QString());
        // Not over anything that already has the name.
        if (!QFile::exists(aside) && QFile::rename(path_, aside)) {
            keptAside_ = aside;
            return;
        }
    }
    writeError_ = Localize(QT_TRANSLATE_NOOP("WEX", "Cannot keep the damaged journal %1 aside")).arg(path_);
}

bool Journal::append(const QByteArray &line, bool flush)
{
    if (fd_ < 0)
        return false;
    const QByteArray whole = line + '\n';
    if (::write(fd_, whole.constData(), size_t(whole.size())) != ssize_t(whole.size()) || (flush && ::fdatasync(fd_) != 0)) {
        writeError_ = Localize(QT_TRANSLATE_NOOP("WEX", "Cannot write the journal %1: %2")).arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

static QByteArray ChangeLine(const JournalChange &c)
{
    return "C " + QByteArray::number(c.seq) + ' ' + QByteArray::number(c.step) + ' ' + QByteArray::number(c.time) + ' '
        + QByteArray::number(c.pid) + ' ' + ChangeKindName(c.kind) + ' ' + c.from.toPercentEncoding("/") + ' '
        + c.to.toPercentEncoding("/");
}

bool Journal::rewrite()
{
    QByteArray text = QByteArray(kHeader) + '\n';
    for (const JournalChange &c : changes_) {
        text += ChangeLine(c) + '\n';
        if (c.state != JournalChange::Pending)
            text += (c.state == JournalChange::Done ? "D " : "F ") + QByteArray::number(c.seq) + '\n';
    }
    for (const auto &[step, undone] : stepMarks_)
        text += (undone ? "U " : "R ") + QByteArray::number(step) + '\n';
    // A temporary file beside it, flushed, renamed over it: the journal is
    // whole in its old or its new form, whenever the process stops.
    const QByteArray target = QFile::encodeName(path_);
    const QByteArray temp = target + ".new-" + QByteArray::number(::getpid());
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = fd >= 0 && ::write(fd, text.constData(), size_t(text.size())) == ssize_t(text.size()) && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    ok = ok && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        writeError_ = Localize(QT_TRANSLATE_NOOP("WEX", "Cannot rewrite the journal %1: %2")).arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
        ::unlink(temp.constData());
        return false;
    }
    const int dir = ::open(QFile::encodeName(QFileInfo(path_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = ::open(target.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    }
    return true;
}

void Journal::compact()
{
    // Whole steps, newest first, up to the bound; the newest step and any
    // step with a change still pending stay whatever their size.
    std::vector<quint64> order; // steps, newest last
    for (const JournalChange &c : changes_)
        if (std::find(order.begin(), order.end(), c.step) == order.end())
            order.push_back(c.step);
    std::vector<quint64> keep;
    size_t kept = 0;
    for (auto s = order.rbegin(); s != order.rend(); ++s) {
        const auto size = size_t(std::count_if(changes_.begin(), changes_.end(), [&](const JournalChange &c) { return c.step == *s; }));
        const bool pending = std::any_of(changes_.begin(), changes_.end(), [&](const JournalChange &c) {
            return c.step == *s && c.state == JournalChange::Pending;
        });
        if (keep.empty() || pending || kept + size <= size_t(kMaxChanges)) {
            keep.push_back(*s);
            kept += size;
        }
    }
    const auto dropped = [&](quint64 step) { return std::find(keep.begin(), keep.end(), step) == keep.end(); };
    if (std::none_of(order.begin(), order.end(), dropped))
        return;
    changes_.erase(std::remove_if(changes_.begin(), changes_.end(), [&](const JournalChange &c) { return dropped(c.step); }),
                   changes_.end());
    stepMarks_.erase(std::remove_if(stepMarks_.begin(), stepMarks_.end(), [&](const auto &m) { return dropped(m.first); }),
                     stepMarks_.end());
    if (!readOnly_)
        rewrite();
}

JournalChange *Journal::find(qint64 seq)
{
    for (auto c = changes_.rbegin(); c != changes_.rend(); ++c)
        if (c->seq == seq)
            return &*c;
    return nullptr;
}

bool Journal::undone(quint64 step) const
{
    for (auto m = stepMarks_.rbegin(); m != stepMarks_.rend(); ++m)
        if (m->first == step)
            return m->second;
    return false;
}

quint64 Journal::newStep()
{
    if (changes_.size() > size_t(kMaxChanges))
        compact();
    return ++lastStep_;
}

qint64 Journal::begin(ChangeKind kind, const QByteArray &from, const QByteArray &to, quint64 step)
{
    JournalChange c;
    c.seq = ++lastSeq_;
    c.step = step ? step : newStep();
    lastStep_ = std::max(lastStep_, c.step);
    c.time = QDateTime::currentMSecsSinceEpoch();
    c.pid = ::getpid();
    c.kind = kind;
    c.from = from;
    c.to = to;
    changes_.push_back(c);
    append(ChangeLine(c));
    return c.seq;
}

void Journal::finish(qint64 seq, bool done)
{
    if (JournalChange *c = find(seq)) {
        c->state = done ? JournalChange::Done : JournalChange::Failed;
        // Not flushed: a confirmation lost to a crash only sends the change
        // through recovery, which finds from the files how far it got.
        append((done ? "D " : "F ") + QByteArray::number(seq), false);
    }
}

void Journal::markStep(quint64 step, bool undone)
{
    stepMarks_.emplace_back(step, undone);
    append((undone ? "U " : "R ") + QByteArray::number(step));
}

} // namespace wex
