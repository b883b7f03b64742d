// Ctrl+Z and Ctrl+Shift+Z, as in every desktop editor.
#include "UndoCommands.h"

#include "FolderRefresh.h"
#include "PathUtils.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace wex {
namespace {

constexpr int kMessageMs = 10000;

QString FolderName(const QByteArray &folder) { return Path2String(folder.mid(folder.lastIndexOf('/') + 1)); }

// What a step did, as the items name it: "Move of 3 Mails to Archive".
QString StepText(const UndoStep &s)
{
    switch (s.kind) {
    case ChangeKind::Move:
        return s.mails == 1 ? UndoCommands::tr("Move to %1").arg(FolderName(s.folder))
                            : UndoCommands::tr("Move of %1 Mails to %2").arg(s.mails).arg(FolderName(s.folder));
    case ChangeKind::Replied:
        return UndoCommands::tr("Mark Replied");
    default:
        return s.mails == 1 ? UndoCommands::tr("Mark Read") : UndoCommands::tr("Mark Read of %1 Mails").arg(s.mails);
    }
}

} // namespace

UndoCommands::UndoCommands(Journal &journal, FolderRefresh &refresh, QMainWindow &titleWindow, QObject *parent)
    : QObject(parent), steps_(journal), refresh_(refresh), titleWindow_(titleWindow), menu_(new QMenu(tr("Edit"))),
      undo_(menu_->addAction(tr("Undo"))), redo_(menu_->addAction(tr("Redo")))
{
    undo_->setObjectName(QStringLiteral("undo"));
    redo_->setObjectName(QStringLiteral("redo"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    connect(undo_, &QAction::triggered, this, &UndoCommands::undo);
    connect(redo_, &QAction::triggered, this, &UndoCommands::redo);
    connect(menu_, &QMenu::aboutToShow, this, &UndoCommands::updateItems);
    updateItems();
}

// The menu has no parent: it is shown by three menu bars.
UndoCommands::~UndoCommands() { delete menu_; }

void UndoCommands::updateItems()
{
    const std::optional<UndoStep> back = steps_.nextUndo();
    const std::optional<UndoStep> again = steps_.nextRedo();
    undo_->setText(back ? tr("Undo %1").arg(StepText(*back)) : tr("Undo"));
    redo_->setText(again ? tr("Redo %1").arg(StepText(*again)) : tr("Redo"));
    // Kept enabled: the shortcut then answers with a message, not silence.
    undo_->setToolTip(back ? QString() : tr("Nothing to undo (a deleted mail cannot be brought back)"));
}

void UndoCommands::undo() { run(true); }

void UndoCommands::redo() { run(false); }

void UndoCommands::run(bool back)
{
    if (!(back ? steps_.nextUndo() : steps_.nextRedo())) {
        lastMessage_ = back ? tr("Nothing to undo (a deleted mail cannot be brought back)") : tr("Nothing to redo");
        titleWindow_.statusBar()->showMessage(lastMessage_, kMessageMs);
        return;
    }
    finish(back ? steps_.undo() : steps_.redo());
}

void UndoCommands::finish(const UndoOutcome &outcome)
{
    lastMessage_.clear();
    if (!outcome.left.empty()) {
        QStringList names;
        for (const QByteArray &path : outcome.left)
            names.append(Path2String(path.mid(path.lastIndexOf('/') + 1)));
        lastMessage_ = tr("Left as it is (changed since): %1").arg(names.join(QStringLiteral(", ")));
        if (!outcome.reason.isEmpty())
            lastMessage_ += QStringLiteral(" (%1)").arg(outcome.reason);
        titleWindow_.statusBar()->showMessage(lastMessage_, kMessageMs);
    }
    // The mail on show stays selected only under the same path, so one whose
    // read mark was just taken back is not shown (and read) again.
    refresh_.refreshList(false);
    updateItems();
}

} // namespace wex
