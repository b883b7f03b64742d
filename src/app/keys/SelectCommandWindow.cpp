#include "SelectCommandWindow.h"

#include "ui_SelectCommandWindow.h"

namespace wex {

SelectCommandWindow::SelectCommandWindow(QWidget *parent)
    : QDialog(parent), form_(std::make_unique<Ui::SelectCommandWindow>())
{
    form_->setupUi(this);
    connect(form_->methodTable, &QListWidget::itemClicked, this, &SelectCommandWindow::commandChosen);
    connect(form_->methodTable, &QListWidget::itemActivated, this, &SelectCommandWindow::commandChosen);
    connect(form_->selectCommandCancel, &QPushButton::clicked, this, &QDialog::reject);
}

SelectCommandWindow::~SelectCommandWindow() = default;

void SelectCommandWindow::setCommandNames(const QStringList &names)
{
    form_->methodTable->clear();
    form_->methodTable->addItems(names);
}

QListWidget *SelectCommandWindow::methodTable() const { return form_->methodTable; }
QPushButton *SelectCommandWindow::cancelButton() const { return form_->selectCommandCancel; }

int SelectCommandWindow::chosenRow() const
{
    // The window opens with no row selected but the last one current, and
    // Return on that highlighted row chooses it.
    const QList<QListWidgetItem *> selected = form_->methodTable->selectedItems();
    return selected.isEmpty() ? form_->methodTable->currentRow() : form_->methodTable->row(selected.first());
}

} // namespace wex
