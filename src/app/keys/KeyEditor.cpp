#include "KeyEditor.h"

#include "KeyController.h"
#include "KeyTableModel.h"
#include "KeyWindow.h"
#include "PathUtils.h"
#include "SelectCommandWindow.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QTableView>

// Each window is run by a nested QDialog::exec() from addKey(), over the
// preferences window's own run: ending a window's run hands the keyboard back
// to the window under it, which is the preferences window once both are done.

namespace wex {

KeyEditor::KeyEditor(KeyController &keys, QTableView &keyTable, QObject *parent)
    : QObject(parent),
      keys_(keys),
      keyTable_(keyTable),
      model_(std::make_unique<KeyTableModel>(keys)),
      selectWindow_(std::make_unique<SelectCommandWindow>()),
      keyWindow_(std::make_unique<KeyWindow>())
{
    QStringList names;
    for (const KeyMethod &method : keys_.methodArray())
        names.append(method.name());
    selectWindow_->setCommandNames(names);
    connect(selectWindow_.get(), &SelectCommandWindow::commandChosen, this, &KeyEditor::enterKeyForCommand);
    // The cancel buttons end their window's run; what follows is addKey()'s.
    selectWindow_->setModal(true);
    keyWindow_->setModal(true);
    keyTable_.setModel(model_.get());
    keyTable_.verticalHeader()->hide();
    keyTable_.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    keyTable_.horizontalHeader()->setStretchLastSection(true);
}

KeyEditor::~KeyEditor()
{
    // The table goes before its model when the window outlives the editor.
    keyTable_.setModel(nullptr);
}

void KeyEditor::addKey()
{
    if (selectWindow_->isVisible() || keyWindow_->isVisible())
        return;
    selectWindow_->methodTable()->clearSelection();
    if (selectWindow_->exec() != QDialog::Accepted)
        return;
    // enterKeyForCommand() accepted it with the chosen command.
    keyWindow_->keyWindowMessage()->setText(
        QStringLiteral("%1 \"%2\"%3")
            .arg(Localize(QT_TRANSLATE_NOOP("WEX", "Enter Key for")), keys_.methodArray().at(currentMethod_).name(), Localize(QT_TRANSLATE_NOOP("WEX", "."))));
    emit windowsToFront();
    const bool pressed = keyWindow_->exec() == QDialog::Accepted && keyWindow_->capturedKey();
    if (pressed) {
        emit windowsToFront();
        keyDown(*keyWindow_->capturedKey());
    }
    // The main windows came to the front: the preferences window, whose run
    // goes on, comes back above them.
    if (keyTable_.window()->isVisible()) {
        keyTable_.window()->raise();
        keyTable_.window()->activateWindow();
    }
}

void KeyEditor::enterKeyForCommand()
{
    if (!selectWindow_->isVisible())
        return;
    const int row = selectWindow_->chosenRow();
    if (row < 0 || row >= keys_.methodArray().size())
        return;
    currentMethod_ = row;
    selectWindow_->accept();
}

void KeyEditor::selectCommandCancel()
{
    if (selectWindow_->isVisible())
        selectWindow_->reject();
}

void KeyEditor::keyWindowCancel()
{
    if (keyWindow_->isVisible())
        keyWindow_->reject();
}

void KeyEditor::keyDown(const MethodKey &key)
{
    if (!keys_.addBinding(key, currentMethod_))
        return;
    reloadKeyTable();
    if (model_->rowCount() > 0)
        keyTable_.selectionModel()->select(model_->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void KeyEditor::removeSelectionKey()
{
    const QModelIndexList rows = keyTable_.selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    if (keys_.removeBindingAt(rows.first().row()))
        reloadKeyTable();
}

void KeyEditor::removeAllKey()
{
    keys_.setBindings({});
    reloadKeyTable();
}

void KeyEditor::reloadKeyTable() { model_->reload(); }

} // namespace wex
