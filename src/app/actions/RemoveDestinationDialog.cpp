#include "RemoveDestinationDialog.h"

#include "MoveFolders.h"
#include "PathUtils.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace wex {

RemoveDestinationDialog::RemoveDestinationDialog(QWidget *parent)
    : QDialog(parent),
      table_(new QTableWidget(0, 1, this)),
      remove_(new QPushButton(Localize(QT_TRANSLATE_NOOP("WEX", "Remove")), this)),
      removeAll_(new QPushButton(Localize(QT_TRANSLATE_NOOP("WEX", "Remove All")), this)),
      cancel_(new QPushButton(Localize(QT_TRANSLATE_NOOP("WEX", "Cancel")), this))
{
    setObjectName(QStringLiteral("removeWindow"));
    setWindowTitle(Localize(QT_TRANSLATE_NOOP("WEX", "Remove Move Destination")));
    table_->setObjectName(QStringLiteral("moveTable"));
    table_->setAccessibleName(Localize(QT_TRANSLATE_NOOP("WEX", "Move destinations")));
    table_->setHorizontalHeaderLabels({Localize(QT_TRANSLATE_NOOP("WEX", "Folder"))});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(removeAll_);
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    buttons->addWidget(remove_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    // Return must not remove anything by itself.
    for (QPushButton *button : {remove_, removeAll_, cancel_})
        button->setAutoDefault(false);
    // Tab follows the buttons as they stand, left to right.
    setTabOrder(table_, removeAll_);
    setTabOrder(removeAll_, cancel_);
    setTabOrder(cancel_, remove_);
    resize(360, 300);

    connect(remove_, &QPushButton::clicked, this, [this] {
        const int row = selectedRow();
        if (row >= 0)
            emit removeItemRequested(row);
    });
    connect(removeAll_, &QPushButton::clicked, this, &RemoveDestinationDialog::removeAllRequested);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void RemoveDestinationDialog::setFolders(const QStringList &entries, const QStringList &paths)
{
    table_->clearContents();
    table_->setRowCount(int(entries.size()));
    for (int row = 0; row < entries.size(); ++row) {
        auto *item = new QTableWidgetItem(MoveFolderTitle(entries[row]));
        item->setToolTip(paths.value(row, entries[row]));
        table_->setItem(row, 0, item);
    }
    table_->clearSelection();
}

int RemoveDestinationDialog::selectedRow() const
{
    const QList<QTableWidgetItem *> items = table_->selectedItems();
    return items.isEmpty() ? -1 : items.first()->row();
}

} // namespace wex
