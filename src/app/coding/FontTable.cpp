#include "FontTable.h"

#include "CodingFonts.h"
#include "FontTableModel.h"

#include <QFontDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

namespace wex {

FontTable::FontTable(const Coding &coding, CodingFonts &fonts, QTableView &table, QObject *parent)
    : QObject(parent), fonts_(fonts), model_(std::make_unique<FontTableModel>(coding, fonts)), table_(table)
{
    table.setModel(model_.get());
    table.verticalHeader()->hide();
    table.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table.horizontalHeader()->setSectionResizeMode(FontTableModel::FontColumn, QHeaderView::Stretch);
    connect(&table, &QTableView::clicked, this, [this](const QModelIndex &index) { selectFont(index.row()); });
    table.installEventFilter(this);
}

bool FontTable::eventFilter(QObject *watched, QEvent *event)
{
    // Return, Enter and Space on the current row do what a click on it does.
    if (watched == &table_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        const bool opens = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
        if (opens && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space)
            && table_.currentIndex().isValid()) {
            selectFont(table_.currentIndex().row());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

FontTable::~FontTable() { table_.setModel(nullptr); }

void FontTable::selectFont(int row)
{
    const std::optional<QFont> font = fonts_.fontOfLanguage(model_->languageAt(row));
    if (!font)
        return;
    lastRow_ = row;
    // Qt's own dialog on every desktop: the same faces and sizes everywhere.
    QFontDialog dialog(*font, table_.window());
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (dialog.exec() == QDialog::Accepted)
        changeFont(dialog.selectedFont());
}

void FontTable::changeFont(const QFont &font)
{
    const uint32_t language = model_->languageAt(lastRow_);
    if (language == 0)
        return;
    fonts_.setFontOfLanguage(language, font);
    model_->fontChanged(lastRow_);
}

} // namespace wex
