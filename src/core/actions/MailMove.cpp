#include "MailMove.h"

#include "JournaledMove.h"

#include <cstdlib>

namespace wex {
namespace {

QByteArray WithoutTrailingSlashes(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

// Everything before the last "/" ("/" for a top-level item, "" without one).
QByteArray ParentOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArray();
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray RealPath(const QByteArray &path)
{
    if (path.isEmpty())
        return QByteArray();
    char *real = ::realpath(path.constData(), nullptr);
    const QByteArray result = real ? QByteArray(real) : QByteArray();
    std::free(real);
    return result;
}

} // namespace

QByteArray MailMoveSource(const QByteArray &mailPath, bool archive)
{
    return archive ? ParentOf(WithoutTrailingSlashes(mailPath)) : WithoutTrailingSlashes(mailPath);
}

MailMover::MailMover(const QByteArray &folder, Journal *journal)
    : folder_(WithoutTrailingSlashes(folder)), realFolder_(RealPath(folder_)), journal_(journal),
      step_(NewJournalStep(journal))
{
}

bool MailMover::liesInFolder(const QByteArray &source)
{
    if (realFolder_.isEmpty())
        return false;
    const QByteArray parent = ParentOf(source);
    if (parent != lastParent_) {
        lastParent_ = parent;
        lastRealParent_ = RealPath(parent);
    }
    return !lastRealParent_.isEmpty() && lastRealParent_ == realFolder_;
}

MailMoveResult MailMover::move(const QByteArray &mailPath, bool archive)
{
    MailMoveResult result;
    const QByteArray source = MailMoveSource(mailPath, archive);
    if (liesInFolder(source)) {
        result.kind = MailMoveResult::AlreadyThere;
        result.outcome.status = MoveOutcome::Moved;
        return result;
    }
    const QByteArray name = source.mid(source.lastIndexOf('/') + 1);
    const QByteArray target = (folder_.endsWith('/') ? folder_ : folder_ + '/') + name;
    result.outcome = JournaledMove(journal_, source, target, ChangeKind::Move, step_);
    result.kind = result.outcome.ok() ? MailMoveResult::Moved : MailMoveResult::Failed;
    return result;
}

} // namespace wex
