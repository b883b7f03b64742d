// The navigation commands of KeyController: four move through the shown
// mail's text, five move the mail table's selection (selecting a row is what
// shows a mail). Every command is a no-op while its outlet is missing.
#include "KeyController.h"

#include "BrowserTextView.h"
#include "MailTitles.h"

#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>

namespace wex {

namespace {

// How far down the text is scrolled, 0.0 (top) to 1.0 (end). A text that fits
// in the view has nothing left to read, so it counts as scrolled to its end:
// Next Page then goes on to the next mail instead of doing nothing.
double ScrollPosition(const QScrollBar *bar)
{
    const int span = bar->maximum() - bar->minimum();
    if (span <= 0)
        return 1.0;
    return double(bar->value() - bar->minimum()) / double(span);
}

void Scroll(BrowserTextView *view, QAbstractSlider::SliderAction action)
{
    if (view)
        view->verticalScrollBar()->triggerAction(action);
}

} // namespace

void KeyController::nextPage()
{
    if (!view_)
        return;
    // A text whose end is still arriving is never at its end.
    if (view_->isLoading() || ScrollPosition(view_->verticalScrollBar()) < 0.99999)
        Scroll(view_, QAbstractSlider::SliderPageStepAdd);
    else
        nextMail();
}

void KeyController::prevPage() { Scroll(view_, QAbstractSlider::SliderPageStepSub); }
void KeyController::nextLine() { Scroll(view_, QAbstractSlider::SliderSingleStepAdd); }
void KeyController::prevLine() { Scroll(view_, QAbstractSlider::SliderSingleStepSub); }

void KeyController::nextMail()
{
    if (titles_)
        titles_->readNextMail();
}

void KeyController::unreadMail()
{
    if (titles_)
        titles_->readUnreadMail();
}

int KeyController::rowCount() const
{
    if (titles_)
        return titles_->count();
    return table_ && table_->model() ? table_->model()->rowCount() : 0;
}

int KeyController::selectedRow() const
{
    if (titles_)
        return titles_->selectedRow();
    if (!table_ || !table_->selectionModel())
        return -1;
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.last().row();
}

void KeyController::deselectAll()
{
    if (table_ && table_->selectionModel())
        table_->selectionModel()->clearSelection();
}

void KeyController::selectRow(int row)
{
    if (!table_ || !table_->model() || !table_->selectionModel())
        return;
    const QModelIndex index = table_->model()->index(row, 0);
    table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void KeyController::scrollRowToVisible(int row)
{
    if (table_ && table_->model())
        table_->scrollTo(table_->model()->index(row, 0), QAbstractItemView::EnsureVisible);
}

bool KeyController::visibleRows(int *first, int *count) const
{
    *first = 0;
    *count = 0;
    if (!table_)
        return false;
    const int rows = rowCount();
    const int top = table_->rowAt(0);
    if (top < 0 || rows <= 0)
        return false;
    int bottom = table_->rowAt(table_->viewport()->height() - 1);
    if (bottom < 0) // the rows end above the bottom of the view
        bottom = rows - 1;
    *first = top;
    *count = bottom - top + 1;
    return true;
}

void KeyController::prevMail()
{
    if (!table_)
        return;
    int row = selectedRow();
    deselectAll();
    row = std::max(row - 1, 0);
    if (rowCount() > 0) {
        selectRow(row);
        scrollRowToVisible(row);
    }
}

void KeyController::nextPageMail()
{
    if (!table_)
        return;
    deselectAll();
    int first = 0, count = 0;
    visibleRows(&first, &count);
    const int rows = rowCount();
    int row = first + count - 1;
    if (row < 0 || row >= rows)
        row = rows - 1;
    if (rows > 0) {
        selectRow(row);
        // To the end first, then back by the least amount: the row lands at the top.
        scrollRowToVisible(rows - 1);
        scrollRowToVisible(row);
    }
}

void KeyController::prevPageMail()
{
    if (!table_)
        return;
    deselectAll();
    int first = 0, count = 0;
    visibleRows(&first, &count);
    const int row = std::max(first - count + 1, 0);
    if (rowCount() > 0) {
        selectRow(row);
        // To the start first, then forward by the least amount: the row lands at the bottom.
        scrollRowToVisible(0);
        scrollRowToVisible(row);
    }
}

} // namespace wex
