// Selection moves follow the table's selection model: selecting a row is what
// makes the contents view show a mail, so every move here is one
// setCurrentIndex(ClearAndSelect | Rows). Where a move deselects first and
// then selects again, the contents view is told twice and shows the mail anew.
#include "MailTitles.h"

#include "CachedEntries.h"
#include "DefaultsStore.h"
#include "DisplayName.h"
#include "FolderLoader.h"
#include "LoadProgress.h"
#include "MailContents.h"
#include "PathUtils.h"
#include "StoreLocations.h"
#include "TitleColumns.h"
#include "TitleDisplayModel.h"
#include "TitleScanner.h"
#include "TitleTableModel.h"
#include "UnreadTitles.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QStatusBar>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTableView>
#include <cstring>

namespace wex {

namespace {

// Whether two folder paths name the same folder as written ("a/b/" is "a/b").
bool SameFolder(QByteArrayView a, QByteArrayView b)
{
    while (a.size() > 1 && a.endsWith('/'))
        a.chop(1);
    while (b.size() > 1 && b.endsWith('/'))
        b.chop(1);
    return a == b;
}

// The row of the mail at path: searched from the last row down to row 1; row
// 0 both when it matches and when nothing does; -1 for an empty list.
int IndexOfPath(const TitleArray &titles, const QByteArray &path)
{
    const int n = int(titles.size());
    if (n == 0)
        return -1;
    for (int row = n - 1; row >= 1; --row)
        if (titles[size_t(row)].path() == path)
            return row;
    return 0;
}

} // namespace

MailTitles::MailTitles(const Coding &coding, DefaultsStore &defaults, QObject *parent)
    : QObject(parent),
      defaults_(defaults),
      model_(new TitleTableModel(this)),
      display_(new TitleDisplayModel(model_, this)),
      scanner_(std::make_unique<TitleScanner>(coding)),
      loader_(std::make_unique<FolderLoader>(coding)),
      progress_(new LoadProgress(this))
{
    connect(loader_.get(), &FolderLoader::loaded, this, &MailTitles::titlesArrived);
    connect(loader_.get(), &FolderLoader::progress, progress_, &LoadProgress::showProgress);
    connect(loader_.get(), &FolderLoader::canceled, progress_, &LoadProgress::hideProgress);
}

MailTitles::~MailTitles()
{
    // The loader's end (it cancels and waits) must not reach this half-gone
    // controller.
    loader_->disconnect(this);
    loader_->disconnect(progress_);
    loader_.reset();
}

void MailTitles::setTable(QTableView *table)
{
    table_ = table;
    if (!table)
        return;
    table->setModel(display_);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSortingEnabled(false); // sorting lives here, in one place
    table->setWordWrap(false);
    table->setShowGrid(false);
    table->setAlternatingRowColors(true);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView *rows = table->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(table->fontMetrics().height() + 6);
    QHeaderView *header = table->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(true);
    ApplyDefaultColumns(header);
    showSortIndicator();
    connect(header, &QHeaderView::sectionClicked, this, &MailTitles::headerClicked);
    table->viewport()->installEventFilter(this);
}

bool MailTitles::eventFilter(QObject *watched, QEvent *event)
{
    // Only mouse presses are looked at: other events also arrive while the
    // table is being destroyed, when it must not be touched.
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && table_ &&
        watched == table_->viewport()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!table_->indexAt(mouse->position().toPoint()).isValid())
            return true;
    }
    return QObject::eventFilter(watched, event);
}

QTableView *MailTitles::table() const { return table_; }
void MailTitles::setMailContents(MailContents *c) { contents_ = c; }
void MailTitles::setMailTitleWindow(QWidget *w)
{
    titleWindow_ = w;
    progress_->setWindow(qobject_cast<QMainWindow *>(w));
}
QAbstractItemModel *MailTitles::model() { return display_; }
int MailTitles::count() const { return model_->rowCount(); }
Title *MailTitles::titleAt(int row) { return model_->titleAt(row); }
const TitleArray &MailTitles::mailTitles() const { return model_->titles(); }
void MailTitles::setMailTitles(TitleArray titles) { loader_->discard(model_->setTitles(std::move(titles))); }
QString MailTitles::identifier() const { return identifier_; }
bool MailTitles::reverse() const { return reverse_; }
const CalendarFormat &MailTitles::dateFormat() const { return display_->dateFormat(); }
void MailTitles::setDateFormat(const CalendarFormat &format) { display_->setDateFormat(format); }

void MailTitles::setIdentifier(const QString &id)
{
    identifier_ = id;
    showSortIndicator();
}

void MailTitles::setReverse(bool r)
{
    reverse_ = r;
    showSortIndicator();
}

void MailTitles::awakeFromNib()
{
    if (table_)
        RestoreColumnLayout(table_->horizontalHeader(), defaults_);
    if (const std::optional<QString> format = defaults_.stringForKey(QStringLiteral("Date Format"))) {
        const bool natural = defaults_.boolForKey(QStringLiteral("Date Format Allow Natural Language")).value_or(false);
        setDateFormat(CalendarFormat(*format, natural));
    }
}

void MailTitles::terminate()
{
    if (table_)
        SaveColumnLayout(table_->horizontalHeader(), defaults_);
    defaults_.setString(QStringLiteral("Date Format"), dateFormat().format());
    defaults_.setBool(QStringLiteral("Date Format Allow Natural Language"), dateFormat().allowsNaturalLanguage());
}

void MailTitles::loadTitleTable(const QByteArray &folder, bool refresh, const QByteArray &select)
{
    PendingLoad pending;
    pending.refresh = refresh;
    pending.select = select;
    if (loader_->isLoading() && SameFolder(loader_->folder(), folder)) {
        // A load replaced by one of the same folder still owes what it was
        // asked for.
        pending.refresh = refresh || pending_.refresh;
        if (select.isEmpty())
            pending.select = pending_.select;
    }
    if (!SameFolder(folder, folder_)) {
        // Another folder's rows must not stay under its name, nor be acted on.
        if (count() > 0) {
            clearSelection();
            loader_->discard(model_->setTitles(TitleArray()));
        }
    }
    folder_ = folder;
    if (count() == 0)
        pending.refresh = true;
    pending.key = TitleKeyFromIdentifier(identifier_);
    pending.reverse = reverse_;
    pending_ = pending;
    loader_->start(folder, pending.key, pending.reverse);
}

bool MailTitles::isLoading() const { return loader_->isLoading(); }

void MailTitles::cancelLoad()
{
    loader_->cancel();
    pending_ = PendingLoad();
}

void MailTitles::setUseCache(bool use) { loader_->setUseCache(use); }
bool MailTitles::useCache() const { return loader_->useCache(); }

void MailTitles::titlesArrived(const QByteArray &folder, bool listed, int errorNumber)
{
    progress_->hideProgress();
    TitleArray titles = loader_->takeTitles();
    PendingLoad pending = std::exchange(pending_, PendingLoad());
    if (pending.changed) {
        // Listed before the rows shown changed: listed again, so a mail read,
        // moved or removed meanwhile is not shown under its old name.
        pending.changed = false;
        pending_ = pending;
        loader_->discard(std::move(titles));
        loader_->start(folder, pending.key, pending.reverse);
        return;
    }
    if (!listed)
        showStatus(tr("Cannot list the folder %1: %2").arg(DisplayName(folder), QString::fromLocal8Bit(std::strerror(errorNumber))));
    // The order may have been changed while the load ran.
    const std::optional<TitleKey> key = TitleKeyFromIdentifier(identifier_);
    if (key && (key != pending.key || reverse_ != pending.reverse))
        SortTitles(titles, *key, reverse_);
    showTitles(std::move(titles), pending.refresh, pending.select);
    emit titlesLoaded(folder);
}

void MailTitles::showStatus(const QString &text)
{
    if (auto *window = qobject_cast<QMainWindow *>(titleWindow_.data()))
        window->statusBar()->showMessage(text);
}

void MailTitles::showTitles(TitleArray titles, bool refresh, const QByteArray &select)
{
    const QByteArray shown = shownPath();
    // A refresh that finds the mail on show on the row it already had keeps
    // that row selected without a selection change, as a table keeps its
    // selected row across a reload: the contents view goes on showing the
    // mail where the reader is, instead of showing it again from its top.
    int keep = -1;
    if (!refresh) {
        const int row = IndexOfPath(titles, shown);
        // Only a lone selected row: reselecting it drops the other rows of a
        // wider selection, a change the contents view must hear of.
        const bool alone = table_ && table_->selectionModel() && table_->selectionModel()->selectedRows().size() == 1;
        if (row >= 0 && alone && row == selectedRow() && titles[size_t(row)].path() == shown)
            keep = row;
    }
    // Otherwise tell the contents view that the old rows go, before they go:
    // a model reset clears the selection without a signal.
    if (keep < 0)
        clearSelection();
    loader_->discard(model_->setTitles(std::move(titles)));
    if (keep >= 0) {
        reselectQuietly(keep);
        return;
    }
    if (count() == 0)
        return;
    if (refresh) {
        // The mail asked for, else the first unread mail, else the first row,
        // is selected at once: a passing selection of another row would show
        // (and mark read) a mail that the user did not ask for.
        int target = -1;
        for (int row = 0; row < count() && !select.isEmpty(); ++row)
            if (model_->titleAt(row)->path() == select) {
                target = row;
                break;
            }
        for (int row = 0; row < count() && target < 0; ++row)
            if (model_->titleAt(row)->unreadState())
                target = row;
        target = std::max(target, 0);
        selectRow(target);
        revealRow(target);
    } else {
        const int row = findIndexOfPath(shown);
        if (row >= 0) {
            selectRow(row);
            if (table_)
                table_->scrollTo(display_->index(row, 0));
        }
    }
}

void MailTitles::unreadMailTitles()
{
    if (titleWindow_)
        titleWindow_->setWindowTitle(Localize(QT_TRANSLATE_NOOP("WEX", "Unread Mails")));
    const CachedEntries cache(*scanner_, useCache());
    replaceMailTitles(loadUnreadTitleArray(*scanner_, wexRootPath()).value_or(TitleArray()));
}

void MailTitles::replaceMailTitles(TitleArray titles)
{
    cancelLoad(); // the list asked for last is the one shown
    const QByteArray shown = shownPath();
    // The reset drops the selection without a signal, so the contents view
    // goes on showing its mail; it is selected again, just as quietly, where
    // the new list holds it.
    setMailTitles(std::move(titles));
    sortTitle();
    for (int row = 0; row < count() && !shown.isEmpty(); ++row)
        if (model_->titleAt(row)->path() == shown) {
            reselectQuietly(row);
            if (table_)
                table_->scrollTo(display_->index(row, 0));
            break;
        }
}

void MailTitles::sortTitle()
{
    if (const std::optional<TitleKey> key = TitleKeyFromIdentifier(identifier_))
        model_->sortRows(*key, reverse_);
}

int MailTitles::findIndex() const { return findIndexOfPath(shownPath()); }

int MailTitles::findIndexOfPath(const QByteArray &path) const { return IndexOfPath(model_->titles(), path); }

QByteArray MailTitles::shownPath() const
{
    return contents_ ? contents_->currentPathString() : QByteArray();
}

void MailTitles::readUnreadMail()
{
    const int start = selectedRow();
    if (count() == 0 || start < 0)
        return;
    clearSelection();
    int target = start;
    for (int row = start; row < count(); ++row)
        if (model_->titleAt(row)->unreadState()) {
            target = row;
            break;
        }
    selectRow(target);
    revealRow(target);
}

void MailTitles::readNextMail()
{
    const int current = selectedRow();
    clearSelection();
    showInTitleIndex(current + 1);
}

void MailTitles::showInTitleIndex(int row)
{
    if (unsigned(row) >= unsigned(count()))
        row = count() - 1;
    if (row < 0)
        return;
    selectRow(row);
    revealRow(row);
}

void MailTitles::removeAtIndex(int row)
{
    if (!model_->titleAt(row))
        return;
    clearSelection();
    model_->removeTitleAt(row);
    if (isLoading())
        pending_.changed = true;
    if (unsigned(row) >= unsigned(count()))
        row = count() - 1;
    if (row < 0)
        return;
    selectRow(row);
}

void MailTitles::titleChanged(int row)
{
    model_->rowChanged(row);
    if (isLoading())
        pending_.changed = true;
}

int MailTitles::selectedRow() const
{
    const QItemSelectionModel *selection = table_ ? table_->selectionModel() : nullptr;
    if (!selection)
        return -1;
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return current.row();
    int last = -1;
    for (const QModelIndex &index : selection->selectedRows())
        last = std::max(last, index.row());
    return last;
}

void MailTitles::revealRow(int row)
{
    if (!table_ || row < 0 || row >= count())
        return;
    const int column = table_->horizontalHeader()->logicalIndex(0);
    table_->doItemsLayout(); // scroll ranges must be known before scrolling
    table_->scrollTo(display_->index(count() - 1, column));
    table_->scrollTo(display_->index(row, column));
}

void MailTitles::headerClicked(int logicalIndex)
{
    const QString clicked = TitleTableModel::identifierOfColumn(logicalIndex);
    if (clicked.isEmpty())
        return;
    if (clicked == identifier_)
        reverse_ = !reverse_;
    else
        identifier_ = clicked;
    showSortIndicator();
    sortTitle();
    clearSelection();
    if (count() > 0) {
        selectRow(0);
        if (table_)
            table_->scrollTo(display_->index(0, 0));
    }
}

void MailTitles::selectRow(int row)
{
    if (!table_ || !table_->selectionModel() || !model_->titleAt(row))
        return;
    table_->selectionModel()->setCurrentIndex(display_->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void MailTitles::reselectQuietly(int row)
{
    if (!table_ || !table_->selectionModel())
        return;
    {
        const QSignalBlocker quiet(table_->selectionModel());
        selectRow(row);
    }
    table_->viewport()->update();
}

void MailTitles::clearSelection()
{
    if (table_ && table_->selectionModel())
        table_->selectionModel()->clearSelection();
}

void MailTitles::showSortIndicator()
{
    if (!table_)
        return;
    QHeaderView *header = table_->horizontalHeader();
    const int column = TitleTableModel::columnOfIdentifier(identifier_);
    header->setSortIndicatorShown(column >= 0);
    if (column >= 0)
        header->setSortIndicator(column, reverse_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

} // namespace wex
