// Column rules:
//  * columns are whole lists, laid side by side; at most maxVisibleColumns of
//    them show at once, each at least minColumnWidth wide, and the browser
//    scrolls by whole columns (never past its last column);
//  * the last column is always the contents of the selected folder, so
//    selectedColumn() is lastColumn() - 1 and path() is that folder;
//  * a click names the title window and loads the folder, whether or not the
//    folder was selected before; after a double click (on a modern system)
//    the click that completes it does not scroll right;
//  * opening a column lists its folder afresh; only listFolder() reads the
//    disk, never painting.
#include "FSBrowser.h"

#include "DisplayName.h"
#include "FolderColumn.h"
#include "FolderModel.h"
#include "FSNodeInfo.h"
#include "PathUtils.h"

#include <QApplication>
#include <QResizeEvent>
#include <QStyle>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace wex {
namespace {

// Every row is a folder: a folder icon, and no branch arrow.
class FolderDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QWidget *widget = option->widget;
        option->icon = (widget ? widget->style() : QApplication::style())->standardIcon(QStyle::SP_DirIcon);
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = QSize(16, 16);
    }
};

} // namespace

FSBrowser::FSBrowser(QWidget *parent)
    : QWidget(parent), area_(new QWidget(this)), scrollBar_(new QScrollBar(Qt::Horizontal, this))
{
    scrollBar_->setRange(0, 0);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != firstVisible_)
            scrollTo(value);
    });
    setRootPath(QByteArrayLiteral("/"));
}

FSBrowser::~FSBrowser() = default;


void FSBrowser::setRootPath(const QByteArray &path)
{
    truncateColumns(0);
    FolderModel *old = model_;
    model_ = new FolderModel(path, this);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (!reloading_)
            dropInvalidColumns();
    });
    delete old;
    addColumn(QModelIndex());
}

void FSBrowser::setMaxVisibleColumns(int count)
{
    maxVisible_ = std::max(1, count);
    scrollTo(firstVisible_);
}

void FSBrowser::setMinColumnWidth(int width)
{
    minWidth_ = std::max(1, width);
    scrollTo(firstVisible_);
}

int FSBrowser::numberOfVisibleColumns() const
{
    return std::max(1, std::min(maxVisible_, width() / minWidth_));
}

QByteArray FSBrowser::path() const
{
    return columns_.empty() ? model_->rootPath() : model_->pathOf(columns_.back()->rootIndex());
}

bool FSBrowser::setPath(const QByteArray &path)
{
    QByteArray rest = path;
    const QByteArray root = model_->rootPath();
    if (root != "/") {
        if (rest != root && !rest.startsWith(root + '/'))
            return false;
        rest = rest.mid(root.size());
    }
    QList<QByteArray> parts = rest.split('/');
    parts.removeAll(QByteArray());
    reloadColumn(0);
    for (int i = 0; i < parts.size(); ++i) {
        FolderColumn *column = columns_[size_t(i)];
        const QModelIndex folder = column->rootIndex();
        const int row = model_->rowOfName(folder, parts[i]);
        if (row < 0) {
            truncateColumns(i + 1);
            column->selectionModel()->clear();
            scrollColumnToVisible(lastColumn());
            return false;
        }
        const QModelIndex index = model_->index(row, 0, folder);
        column->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        openFolder(i, index);
    }
    truncateColumns(int(parts.size()) + 1);
    columns_.back()->selectionModel()->clear();
    return true;
}

void FSBrowser::scrollColumnsRightBy(int count) { scrollTo(firstVisible_ + count); }
void FSBrowser::scrollColumnsLeftBy(int count) { scrollTo(firstVisible_ - count); }

void FSBrowser::scrollColumnToVisible(int column)
{
    if (column < firstVisible_)
        scrollTo(column);
    else if (column > lastVisibleColumn())
        scrollTo(column - numberOfVisibleColumns() + 1);
}

void FSBrowser::reloadColumn(int column, bool mayDefer)
{
    if (column < 0 || column > lastColumn())
        return;
    reloading_ = true;
    model_->listFolder(columns_[size_t(column)]->rootIndex(), mayDefer);
    reloading_ = false;
    dropInvalidColumns();
}

void FSBrowser::reloadColumns()
{
    for (int column = 0; column <= lastColumn(); ++column)
        reloadColumn(column, true);
}

QListView *FSBrowser::columnView(int column) const
{
    return column >= 0 && column <= lastColumn() ? columns_[size_t(column)] : nullptr;
}

void FSBrowser::doClick()
{
    emit folderClicked(path());
    if (selectedColumn() < lastVisibleColumn() && !doubleClick_)
        scrollColumnsRightBy(1);
    doubleClick_ = false;
}

void FSBrowser::sortFolderBy(const QString &tag)
{
    FSNodeInfo::setSortFolderTag(tag);
    reloadColumns();
}

void FSBrowser::doDoubleClick()
{
    // The click that precedes it scrolled nothing yet: the next one does not.
    doubleClick_ = true;
}

void FSBrowser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    scrollTo(firstVisible_);
}

void FSBrowser::clickFolder(int column, const QModelIndex &folder)
{
    if (column < 0 || column > lastColumn() || !folder.isValid()
        || folder.parent() != columns_[size_t(column)]->rootIndex())
        return;
    FolderColumn *view = columns_[size_t(column)];
    if (view->currentIndex() != folder)
        view->selectionModel()->setCurrentIndex(folder, QItemSelectionModel::ClearAndSelect);
    openFolder(column, folder, true);
    doClick();
}

// The folder (a row of the column) becomes the last column, listed afresh and
// without a selection. A column that already shows it is kept (and with it
// the keyboard focus it may have).
void FSBrowser::openFolder(int column, const QModelIndex &folder, bool mayDefer)
{
    if (column < lastColumn() && columns_[size_t(column) + 1]->rootIndex() == folder) {
        truncateColumns(column + 2);
        columns_.back()->selectionModel()->clear();
        reloading_ = true;
        model_->listFolder(folder, mayDefer);
        reloading_ = false;
    } else {
        truncateColumns(column + 1);
        addColumn(folder, mayDefer);
    }
    scrollColumnToVisible(lastColumn());
}

void FSBrowser::moveAcross(int column, int step)
{
    const int target = column + step;
    if (target < 0 || target > lastColumn())
        return;
    FolderColumn *view = columns_[size_t(target)];
    if (step > 0 && !view->currentIndex().isValid()) {
        const QModelIndex first = model_->index(0, 0, view->rootIndex());
        if (!first.isValid())
            return;
        view->setFocus();
        clickFolder(target, first);
        return;
    }
    view->setFocus();
    scrollColumnToVisible(target);
}

void FSBrowser::truncateColumns(int count)
{
    while (int(columns_.size()) > std::max(0, count)) {
        FolderColumn *view = columns_.back();
        columns_.pop_back();
        view->hide();
        view->deleteLater();
    }
    scrollTo(firstVisible_);
}

void FSBrowser::addColumn(const QModelIndex &folder, bool mayDefer)
{
    auto *view = new FolderColumn(area_);
    view->setItemDelegate(new FolderDelegate(view));
    view->setModel(model_);
    view->setRootIndex(folder);
    view->setAccessibleName(Localize(QT_TRANSLATE_NOOP("WEX", "Folders in %1")).arg(DisplayName(model_->pathOf(folder))));
    model_->listFolder(folder, mayDefer);
    columns_.push_back(view);
    connect(view, &FolderColumn::folderClicked, this,
            [this, view](const QModelIndex &index) { clickFolder(columnOf(view), index); });
    connect(view, &QAbstractItemView::doubleClicked, this, [this] { doDoubleClick(); });
    connect(view, &FolderColumn::keyboardMoved, this,
            [this, view](const QModelIndex &index) { clickFolder(columnOf(view), index); });
    connect(view, &FolderColumn::acrossRequested, this,
            [this, view](int step) { moveAcross(columnOf(view), step); });
    scrollTo(firstVisible_);
}

void FSBrowser::dropInvalidColumns()
{
    for (size_t i = 1; i < columns_.size(); ++i) {
        const QModelIndex root = columns_[i]->rootIndex();
        if (!root.isValid() || root.parent() != columns_[i - 1]->rootIndex()) {
            truncateColumns(int(i));
            columns_[i - 1]->selectionModel()->clear();
            return;
        }
    }
}

void FSBrowser::scrollTo(int first)
{
    const int maxFirst = std::max(0, int(columns_.size()) - numberOfVisibleColumns());
    firstVisible_ = std::clamp(first, 0, maxFirst);
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setRange(0, maxFirst);
    scrollBar_->setPageStep(numberOfVisibleColumns());
    scrollBar_->setValue(firstVisible_);
    layoutColumns();
}

void FSBrowser::layoutColumns()
{
    const int barHeight = scrollBar_->sizeHint().height();
    const QRect all = rect();
    area_->setGeometry(0, 0, all.width(), std::max(0, all.height() - barHeight));
    scrollBar_->setGeometry(0, area_->height(), all.width(), barHeight);
    const int visible = numberOfVisibleColumns();
    const int width = std::max(minWidth_, area_->width() / visible);
    for (size_t i = 0; i < columns_.size(); ++i) {
        const int slot = int(i) - firstVisible_;
        FolderColumn *view = columns_[i];
        if (slot < 0 || slot >= visible) {
            view->hide();
            continue;
        }
        const int x = slot * width;
        const int w = slot == visible - 1 ? std::max(width, area_->width() - x) : width - 1;
        view->setGeometry(x, 0, w, area_->height());
        view->show();
    }
}

int FSBrowser::columnOf(const FolderColumn *view) const
{
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i] == view)
            return int(i);
    return -1;
}

} // namespace wex
