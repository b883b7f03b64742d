#include "MoveDestinations.h"

#include "FSBrowser.h"
#include "Launcher.h"
#include "MailMoveRun.h"
#include "MailTitles.h"
#include "MoveFolders.h"
#include "PathUtils.h"
#include "RemoveDestinationDialog.h"
#include "StoreLocations.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

namespace wex {
namespace {

// A folder's name for a message ("/" for the top).
QString FolderName(const QString &folder)
{
    return MoveFolderTitle(QDir::cleanPath(folder));
}

// How long a failure stays on the status bar (as for the other mail
// commands); a success goes sooner.
constexpr int kFailureMs = 20000;
constexpr int kSuccessMs = 5000;

QString Quoted(const QString &text) { return QStringLiteral("\u201C%1\u201D").arg(text); }

} // namespace

MoveDestinations::MoveDestinations(DefaultsStore &defaults, QObject *parent)
    : QObject(parent),
      defaults_(defaults),
      menu_(new QMenu(Localize(QT_TRANSLATE_NOOP("WEX", "Move")))),
      refresh_(new QAction(this)),
      stepTimer_(new QTimer(this))
{
    stepTimer_->setSingleShot(true);
    stepTimer_->setInterval(0);
    connect(stepTimer_, &QTimer::timeout, this, &MoveDestinations::continueMove);
    menu_->setObjectName(QStringLiteral("moveMenu"));
    menu_->addSeparator();
    connect(addCommand(QStringLiteral("addCurrentFolder"), QT_TRANSLATE_NOOP("WEX", "Add Current Folder")),
            &QAction::triggered, this, &MoveDestinations::addCurrentFolder);
    connect(addCommand(QStringLiteral("addFolderAndMove"), QT_TRANSLATE_NOOP("WEX", "Move to Folder...")),
            &QAction::triggered, this, &MoveDestinations::addFolderAndMove);
    connect(addCommand(QStringLiteral("removeMoveFolder"), QT_TRANSLATE_NOOP("WEX", "Remove Destination...")),
            &QAction::triggered, this, &MoveDestinations::remove);
    menu_->addSeparator();
    connect(addCommand(QStringLiteral("WEXMove"), QT_TRANSLATE_NOOP("WEX", "Open WEX Relocate")), &QAction::triggered,
            this, &MoveDestinations::WEXMove);

    refresh_->setText(Localize(QT_TRANSLATE_NOOP("WEX", "Refresh")));
    refresh_->setObjectName(QStringLiteral("refreshList"));
    refresh_->setShortcut(QKeySequence(Qt::Key_F5));
    connect(refresh_, &QAction::triggered, this, [this] { refreshList(true); });
}

MoveDestinations::~MoveDestinations()
{
    // The menu has no parent: the menu controller shows it inside its own.
    delete menu_;
}

QAction *MoveDestinations::addCommand(const QString &name, const char *text)
{
    QAction *item = menu_->addAction(Localize(text));
    item->setObjectName(name);
    commands_.append(item);
    return item;
}

QList<QAction *> MoveDestinations::commandActions() const { return commands_ + QList<QAction *>{refresh_}; }

void MoveDestinations::setFSBrowser(FSBrowser *browser) { browser_ = browser; }
void MoveDestinations::setMailTitles(MailTitles *titles) { titles_ = titles; }
void MoveDestinations::setTitleWindow(QMainWindow *window) { titleWindow_ = window; }

void MoveDestinations::awakeFromNib()
{
    if (loaded_ || SetWEXSettingPath() != 0)
        return;
    folders_ = LoadMoveFolders(defaults_);
    loaded_ = true;
    for (int index = 0; index < folders_.size(); ++index)
        addFolderPathString(folders_[index], index);
}

void MoveDestinations::terminate()
{
    finishMove();
    if (loaded_)
        saveMoveArray();
}

QAction *MoveDestinations::destinationItem(int index) const { return items_.value(index, nullptr); }

void MoveDestinations::addFolderPathString(const QString &entry, int index)
{
    index = std::clamp(index, 0, int(items_.size()));
    QString title = MoveFolderTitle(entry);
    auto *item = new QAction(title.replace(QLatin1Char('&'), QStringLiteral("&&")), menu_);
    const QList<QAction *> present = menu_->actions();
    menu_->insertAction(present.value(index, nullptr), item);
    items_.insert(index, item);
    connect(item, &QAction::triggered, this, [this, item] { moveMailTo(item->data().toInt()); });
    renumberFrom(index);
}

void MoveDestinations::renumberFrom(int index)
{
    for (int i = std::max(index, 0); i < items_.size(); ++i) {
        QAction *item = items_[i];
        item->setData(i);
        item->setShortcut(i <= 8 ? QKeySequence(QKeyCombination(Qt::CTRL, Qt::Key(Qt::Key_1 + i))) : QKeySequence());
    }
}

void MoveDestinations::addFolder(const QString &absolutePath)
{
    folders_.append(MoveFolderStoredForm(absolutePath, wexRootPathString()));
    addFolderPathString(folders_.last(), int(folders_.size()) - 1);
}

void MoveDestinations::addCurrentFolder()
{
    if (browser_)
        addFolder(Path2String(browser_->path()));
}

void MoveDestinations::addFolderAndMove()
{
    const QString root = wexRootPathString().isEmpty() ? QDir::homePath() : wexRootPathString();
    QFileDialog chooser(dialogParent(), Localize(QT_TRANSLATE_NOOP("WEX", "Move to Folder")), root);
    chooser.setObjectName(QStringLiteral("chooseMoveFolder"));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    chooser.setLabelText(QFileDialog::Accept, Localize(QT_TRANSLATE_NOOP("WEX", "Choose")));
    if (chooser.exec() != QDialog::Accepted)
        return;
    const QString folder = QDir::cleanPath(chooser.selectedFiles().value(0));
    if (folder.isEmpty() || !folder.startsWith(QLatin1Char('/')))
        return;
    addFolder(folder);
    moveMailToDirectory(folder);
}

void MoveDestinations::moveMailTo(int tag)
{
    if (tag < 0 || tag >= folders_.size())
        return;
    const QString folder = ResolveMoveFolder(folders_[tag], wexRootPathString());
    if (folder.isEmpty()) {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Not moved: the store folder is unknown, so %1 names no folder."))
                        .arg(Quoted(folders_[tag])),
                    kFailureMs);
        return;
    }
    moveMailToDirectory(folder);
}

void MoveDestinations::moveMailToDirectory(const QString &folder)
{
    finishMove();
    if (!titles_)
        return;
    auto run = std::make_unique<MailMoveRun>(titles_, String2Path(folder));
    if (run->total() == 0)
        return;
    if (!IsPathDirectory(String2Path(folder))) {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Not moved: there is no folder %1.")).arg(Quoted(folder)),
                    kFailureMs);
        return;
    }
    run_ = std::move(run);
    runFolder_ = folder;
    continueMove();
}

void MoveDestinations::continueMove()
{
    if (!run_)
        return;
    if (run_->step(budget_)) {
        endMove();
        return;
    }
    showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Moving mails to %1: %2 of %3"))
                    .arg(Quoted(FolderName(runFolder_)))
                    .arg(run_->handled())
                    .arg(run_->total()));
    stepTimer_->start();
}

void MoveDestinations::finishMove()
{
    if (!run_)
        return;
    stepTimer_->stop();
    run_->finish();
    endMove();
}

void MoveDestinations::endMove()
{
    const std::unique_ptr<MailMoveRun> run = std::move(run_);
    if (titles_ && run->movedCount() > 0 && run->lastIndex() >= 0)
        titles_->showInTitleIndex(run->lastIndex());
    const QString where = Quoted(FolderName(runFolder_));
    const QList<MailMoveRun::Failure> &failures = run->failures();
    if (!failures.isEmpty()) {
        const MailMoveRun::Failure &first = failures.first();
        const QString mail = QStringLiteral("%1 (%2)").arg(Quoted(first.subject), Path2String(first.fileName));
        if (failures.size() == 1)
            showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Not moved to %1: %2: %3")).arg(where, mail, first.reason),
                        kFailureMs);
        else
            showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "%1 mails not moved to %2; the first: %3: %4"))
                            .arg(failures.size())
                            .arg(where, mail, first.reason),
                        kFailureMs);
    } else if (run->movedCount() == 0) {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Nothing moved: the mails already lie in %1.")).arg(where),
                    kSuccessMs);
    } else if (run->movedCount() == 1) {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Moved 1 mail to %1.")).arg(where), kSuccessMs);
    } else {
        showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Moved %1 mails to %2.")).arg(run->movedCount()).arg(where),
                    kSuccessMs);
    }
    emit moveFinished();
}

RemoveDestinationDialog *MoveDestinations::removeWindow()
{
    if (!removeWindow_) {
        removeWindow_ = new RemoveDestinationDialog(dialogParent());
        connect(removeWindow_, &RemoveDestinationDialog::removeItemRequested, this, &MoveDestinations::removeItem);
        connect(removeWindow_, &RemoveDestinationDialog::removeAllRequested, this, &MoveDestinations::removeAll);
    }
    return removeWindow_;
}

void MoveDestinations::remove()
{
    RemoveDestinationDialog *dialog = removeWindow();
    QStringList paths;
    for (const QString &entry : folders_)
        paths.append(ResolveMoveFolder(entry, wexRootPathString()));
    dialog->setFolders(folders_, paths);
    dialog->exec();
}

bool MoveDestinations::removeItem(int row)
{
    if (row < 0 || row >= folders_.size())
        return false;
    folders_.removeAt(row);
    delete items_.takeAt(row);
    renumberFrom(row);
    if (removeWindow_)
        removeWindow_->accept();
    return true;
}

void MoveDestinations::removeAll()
{
    folders_.clear();
    qDeleteAll(items_);
    items_.clear();
    if (removeWindow_)
        removeWindow_->accept();
}

void MoveDestinations::removeCancel()
{
    if (removeWindow_)
        removeWindow_->reject();
}

void MoveDestinations::saveMoveArray() { SaveMoveFolders(defaults_, folders_); }

void MoveDestinations::WEXMove()
{
    const QString mover = Launcher::suiteApplication(QStringLiteral("WEX_Relocate.app"));
    const LaunchResult started = Launcher::launchApplication(mover);
    if (!started.ok())
        showMessage(started.reason, kFailureMs);
}

void MoveDestinations::refreshList(bool refresh)
{
    finishMove();
    if (!titles_ || !browser_)
        return;
    titles_->loadTitleTable(browser_->path(), refresh);
    // Folders come and go under the downloader and the mail mover, in every
    // folder order: each open column is listed again.
    browser_->reloadColumns();
}

void MoveDestinations::showMessage(const QString &text, int timeoutMs)
{
    message_ = text;
    if (titleWindow_)
        titleWindow_->statusBar()->showMessage(text, timeoutMs);
}

QWidget *MoveDestinations::dialogParent() const { return titleWindow_; }

} // namespace wex
