#include "MoveDestinations.h"

#include "DefaultsStore.h"
#include "FSBrowser.h"
#include "Launcher.h"
#include "MailMoves.h"
#include "MoveFolders.h"
#include "PathUtils.h"
#include "RemoveDestinationDialog.h"
#include "StoreContext.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>

namespace wex {

MoveDestinations::MoveDestinations(DefaultsStore &defaults, const StoreContext &store, FSBrowser &browser,
                                   MailMoves &moves, QWidget &dialogParent, QObject *parent)
    : QObject(parent),
      defaults_(defaults),
      store_(store),
      browser_(browser),
      moves_(moves),
      dialogParent_(dialogParent),
      menu_(new QMenu(Localize(QT_TRANSLATE_NOOP("WEX", "Move"))))
{
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
}

MoveDestinations::~MoveDestinations()
{
    // The menu has no parent: the menu bar shows it inside the Mail menu.
    delete menu_;
}

QAction *MoveDestinations::addCommand(const QString &name, const char *text)
{
    QAction *item = menu_->addAction(Localize(text));
    item->setObjectName(name);
    commands_.append(item);
    return item;
}

void MoveDestinations::restore()
{
    if (loaded_ || store_.settingPath.isEmpty())
        return;
    folders_ = LoadMoveFolders(defaults_);
    loaded_ = true;
    for (int index = 0; index < folders_.size(); ++index)
        addFolderPathString(folders_[index], index);
}

void MoveDestinations::save()
{
    if (loaded_)
        SaveMoveFolders(defaults_, folders_);
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
    folders_.append(MoveFolderStoredForm(absolutePath, store_.rootString));
    addFolderPathString(folders_.last(), int(folders_.size()) - 1);
}

void MoveDestinations::addCurrentFolder()
{
    addFolder(Path2String(browser_.path()));
}

void MoveDestinations::addFolderAndMove()
{
    const QString root = store_.rootString.isEmpty() ? QDir::homePath() : store_.rootString;
    QFileDialog chooser(&dialogParent_, Localize(QT_TRANSLATE_NOOP("WEX", "Move to Folder")), root);
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
    moves_.moveMailToDirectory(folder);
}

void MoveDestinations::moveMailTo(int tag)
{
    if (tag < 0 || tag >= folders_.size())
        return;
    const QString folder = ResolveMoveFolder(folders_[tag], store_.rootString);
    if (folder.isEmpty()) {
        moves_.showMessage(Localize(QT_TRANSLATE_NOOP("WEX", "Not moved: the store folder is unknown, so %1 names no folder."))
                               .arg(Quoted(folders_[tag])),
                           true);
        return;
    }
    moves_.moveMailToDirectory(folder);
}

RemoveDestinationDialog *MoveDestinations::removeWindow()
{
    if (!removeWindow_) {
        removeWindow_ = new RemoveDestinationDialog(&dialogParent_);
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
        paths.append(ResolveMoveFolder(entry, store_.rootString));
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

void MoveDestinations::WEXMove()
{
    const QString mover = Launcher::suiteApplication(QStringLiteral("WEX_Relocate.app"));
    const LaunchResult started = Launcher::launchApplication(mover);
    if (!started.ok())
        moves_.showMessage(started.reason, true);
}

} // namespace wex
