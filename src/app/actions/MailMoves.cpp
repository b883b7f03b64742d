#include "MailMoves.h"

#include "MailMoveRun.h"
#include "MailTitles.h"
#include "MoveFolders.h"
#include "PathUtils.h"

#include <QDir>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

namespace wex {
namespace {

// How long a failure stays on the status bar (as for the other mail
// commands); a success goes sooner.
constexpr int kFailureMs = 20000;
constexpr int kSuccessMs = 5000;

} // namespace

MailMoves::MailMoves(MailTitles &titles, QMainWindow &titleWindow, Journal *journal, QObject *parent)
    : QObject(parent), titles_(titles), journal_(journal), titleWindow_(titleWindow), stepTimer_(new QTimer(this))
{
    stepTimer_->setSingleShot(true);
    stepTimer_->setInterval(0);
    connect(stepTimer_, &QTimer::timeout, this, &MailMoves::continueMove);
}

MailMoves::~MailMoves() = default;

void MailMoves::moveMailToDirectory(const QString &folder)
{
    finishMove();
    auto run = std::make_unique<MailMoveRun>(titles_, String2Path(folder), journal_);
    if (run->total() == 0)
        return;
    if (!IsPathDirectory(String2Path(folder))) {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Not moved: there is no folder %1.")).arg(Quoted(folder)), true);
        return;
    }
    run_ = std::move(run);
    runFolder_ = folder;
    continueMove();
}

void MailMoves::continueMove()
{
    if (!run_)
        return;
    if (run_->step(budget_)) {
        endMove();
        return;
    }
    message_ = Localize(QT_TRANSLATE_NOOP("WEX", "Moving mails to %1: %2 of %3"))
                   .arg(Quoted(MoveFolderTitle(QDir::cleanPath(runFolder_))))
                   .arg(run_->handled())
                   .arg(run_->total());
    titleWindow_.statusBar()->showMessage(message_);
    stepTimer_->start();
}

void MailMoves::finishMove()
{
    if (!run_)
        return;
    stepTimer_->stop();
    run_->finish();
    endMove();
}

void MailMoves::endMove()
{
    const std::unique_ptr<MailMoveRun> run = std::move(run_);
    if (run->movedCount() > 0 && run->lastIndex() >= 0)
        titles_.showInTitleIndex(run->lastIndex());
    const QString where = Quoted(MoveFolderTitle(QDir::cleanPath(runFolder_)));
    const QList<MailMoveRun::Failure> &failures = run->failures();
    if (!failures.isEmpty()) {
        const MailMoveRun::Failure &first = failures.first();
        const QString mail = QStringLiteral("%1 (%2)").arg(Quoted(first.subject), Path2String(first.fileName));
        if (failures.size() == 1)
            showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Not moved: %1 (%2 to %3)")).arg(first.reason, mail, where), true);
        else
            showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "%1 mails not moved: %2 (the first: %3 to %4)"))
                            .arg(failures.size())
                            .arg(first.reason, mail, where),
                        true);
    } else if (!run->leftover().isEmpty()) {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Moved, but hidden debris was left: %1")).arg(run->leftover()), true);
    } else if (run->movedCount() == 0) {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Nothing moved: the mails already lie in %1.")).arg(where), false);
    } else if (run->movedCount() == 1) {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Moved 1 mail to %1.")).arg(where), false);
    } else {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Moved %1 mails to %2.")).arg(run->movedCount()).arg(where), false);
    }
    emit moveFinished();
}

void MailMoves::showMessage(const QString &text, bool failure)
{
    message_ = text;
    titleWindow_.statusBar()->showMessage(text, failure ? kFailureMs : kSuccessMs);
}

} // namespace wex
