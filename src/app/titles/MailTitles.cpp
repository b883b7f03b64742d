// Selection moves follow the table's selection model: selecting a row is what
// makes the contents view show a mail, so every move here is one
// setCurrentIndex(ClearAndSelect | Rows). Where a move deselects first and
// then selects again, the contents view is told twice and shows the mail anew.
// Quiet selections block the selection model's signals, so selectionChanged()
// is not emitted for them.
#include "MailTitles.h"

#include "CachedEntries.h"
#include "DefaultsStore.h"
#include "DisplayName.h"
#include "FolderLoader.h"
#include "LoadProgress.h"
#include "MailName.h"
#include "PathUtils.h"
#include "StoreContext.h"
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
#include <algorithm>
#include <cstring>
#include <iterator>

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

MailTitles::MailTitles(const Coding &coding, DefaultsStore &defaults, const StoreContext &store, QTableView &table,
                       QMainWindow &titleWindow, QObject *parent)
    : QObject(parent),
      defaults_(defaults),
      store_(store),
      table_(table),
      titleWindow_(titleWindow),
      model_(new TitleTableModel(this)),
      display_(new TitleDisplayModel(model_, this)),
      scanner_(std::make_unique<TitleScanner>(coding)),
      loader_(std::make_unique<FolderLoader>(coding)),
      progress_(new LoadProgress(this))
{
    progress_->setWindow(&titleWindow);
    connect(loader_.get(), &FolderLoader::loaded, this, &MailTitles::titlesArrived);
    connect(loader_.get(), &FolderLoader::progress, progress_, &LoadProgress::showProgress);
    connect(loader_.get(), &FolderLoader::canceled, progress_, &LoadProgress::hideProgress);
    setUpTable();
}

MailTitles::~MailTitles()
{
    // The loader's end (it cancels and waits) must not reach this half-gone
    // controller.
    loader_->disconnect(this);
    loader_->disconnect(progress_);
    loader_.reset();
}

void MailTitles::setUpTable()
{
    table_.setModel(display_);
    table_.setSelectionBehavior(QAbstractItemView::SelectRows);
    table_.setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_.setSortingEnabled(false); // sorting lives here, in one place
    table_.setWordWrap(false);
    table_.setShowGrid(false);
    table_.setAlternatingRowColors(true);
    table_.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView *rows = table_.verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(table_.fontMetrics().height() + 6);
    QHeaderView *header = table_.horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(true);
    ApplyDefaultColumns(header);
    showSortIndicator();
    connect(header, &QHeaderView::sectionClicked, this, &MailTitles::headerClicked);
    connect(table_.selectionModel(), &QItemSelectionModel::selectionChanged, this, &MailTitles::selectionChanged);
    table_.viewport()->installEventFilter(this);
    titleWindow_.statusBar(); // made now, so the first message does not shift the table
}

bool MailTitles::eventFilter(QObject *watched, QEvent *event)
{
    // Only mouse presses are looked at: other events also arrive while the
    // table is being destroyed, when it must not be touched.
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && watched == table_.viewport()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!table_.indexAt(mouse->position().toPoint()).isValid())
            return true;
    }
    return QObject::eventFilter(watched, event);
}

QAbstractItemModel *MailTitles::model() { return display_; }
int MailTitles::count() const { return model_->rowCount(); }
Title *MailTitles::titleAt(int row) { return model_->titleAt(row); }
const TitleArray &MailTitles::mailTitles() const { return model_->titles(); }

void MailTitles::setMailTitles(TitleArray titles)
{
    TitleArray released;
    setShownTitles(filter_.split(std::move(titles), &released));
    loader_->discard(std::move(released));
}

void MailTitles::setShownTitles(TitleArray shown) { loader_->discard(model_->setTitles(std::move(shown))); }

int MailTitles::unreadCount() const
{
    int unread = 0;
    for (const TitleArray *list : {&model_->titles(), &filter_.hidden()})
        for (const Title &title : *list)
            unread += title.unreadState() ? 1 : 0;
    return unread;
}

TitleArray MailTitles::unreadTitles() const
{
    TitleArray unread;
    for (const TitleArray *list : {&model_->titles(), &filter_.hidden()})
        std::copy_if(list->begin(), list->end(), std::back_inserter(unread),
                     [](const Title &title) { return title.unreadState(); });
    return unread;
}

void MailTitles::setFilterText(const QString &text)
{
    if (text == filter_.text())
        return;
    const bool selected = table_.selectionModel()->hasSelection();
    const std::optional<TitleKey> key = TitleKeyFromIdentifier(identifier_);
    model_->reshape([&](TitleArray shown) { return filter_.setText(text, std::move(shown), key, reverse_); });
    // The reset forgot the selection without a word: the mail on show is
    // selected again where it still shows, and otherwise is shown no more,
    // so no command can reach a hidden mail.
    const int row = shownPath_.isEmpty() ? -1 : IndexOfPath(model_->titles(), shownPath_);
    if (row >= 0) {
        selectQuietly(row);
        revealRow(row, Reveal::Visible);
    } else if (selected) {
        emit selectionChanged();
    }
    emit filterChanged(text);
}

void MailTitles::clearFilter()
{
    if (!filter_.isActive() && filter_.text().isEmpty())
        return;
    // The hidden titles belong to the list that goes; the new list comes
    // whole.
    TitleArray released;
    filter_.split(TitleArray(), &released);
    loader_->discard(std::move(released));
    filter_.setText(QString(), TitleArray(), std::nullopt, false);
    filter_.releaseScratch();
    emit filterChanged(QString());
}
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

void MailTitles::restoreLayout()
{
    RestoreColumnLayout(table_.horizontalHeader(), defaults_);
    if (const std::optional<QString> format = defaults_.stringForKey(QStringLiteral("Date Format"))) {
        const bool natural = defaults_.boolForKey(QStringLiteral("Date Format Allow Natural Language")).value_or(false);
        setDateFormat(CalendarFormat(*format, natural));
    }
}

void MailTitles::saveLayout()
{
    SaveColumnLayout(table_.horizontalHeader(), defaults_);
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
            setMailTitles(TitleArray());
        }
    }
    // Words typed for another list do not carry over to this one.
    if (!SameFolder(folder, folder_) || !listIsFolder_)
        clearFilter();
    listIsFolder_ = true;
    folder_ = folder;
    // The window is titled by what it shows, whatever list it showed before.
    titleWindow_.setWindowTitle(FolderTitle(folder));
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
        titleWindow_.statusBar()->showMessage(
            tr("Cannot list the folder: %1 (%2)").arg(QString::fromLocal8Bit(std::strerror(errorNumber)), DisplayName(folder)));
    // The order may have been changed while the load ran.
    const std::optional<TitleKey> key = TitleKeyFromIdentifier(identifier_);
    if (key && (key != pending.key || reverse_ != pending.reverse))
        SortTitles(titles, *key, reverse_);
    showTitles(std::move(titles), pending.refresh, pending.select);
    emit titlesLoaded(folder);
}

void MailTitles::showTitles(TitleArray titles, bool refresh, const QByteArray &select)
{
    {
        TitleArray released;
        titles = filter_.split(std::move(titles), &released);
        loader_->discard(std::move(released));
    }
    const QByteArray shown = shownPath_;
    // A refresh that finds the mail on show on the row it already had keeps
    // that row selected without a selection change, as a table keeps its
    // selected row across a reload: the contents view goes on showing the
    // mail where the reader is, instead of showing it again from its top.
    int keep = -1;
    if (!refresh) {
        const int row = IndexOfPath(titles, shown);
        // Only a lone selected row: reselecting it drops the other rows of a
        // wider selection, a change the contents view must hear of.
        const bool alone = table_.selectionModel()->selectedRows().size() == 1;
        if (row >= 0 && alone && row == selectedRow() && titles[size_t(row)].path() == shown)
            keep = row;
    }
    // Otherwise tell the contents view that the old rows go, before they go:
    // a model reset clears the selection without a signal.
    if (keep < 0)
        clearSelection();
    setShownTitles(std::move(titles));
    if (keep >= 0) {
        selectQuietly(keep);
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
        selectAndShow(std::max(target, 0));
    } else {
        // The path taken before the rows went: clearing the selection above
        // told the contents view that no mail is on show.
        const int row = IndexOfPath(model_->titles(), shown);
        if (row >= 0)
            selectAndShow(row, Reveal::Visible);
    }
}

void MailTitles::unreadMailTitles()
{
    titleWindow_.setWindowTitle(Localize(QT_TRANSLATE_NOOP("WEX", "Unread Mails")));
    const CachedEntries cache(*scanner_, useCache());
    replaceMailTitles(loadUnreadTitleArray(*scanner_, store_.rootPath).value_or(TitleArray()));
}

void MailTitles::replaceMailTitles(TitleArray titles)
{
    cancelLoad(); // the list asked for last is the one shown
    clearFilter();
    listIsFolder_ = false;
    // The reset drops the selection without a signal, so the contents view
    // goes on showing its mail; it is selected again, just as quietly, where
    // the new list holds it.
    setMailTitles(std::move(titles));
    sortTitle();
    for (int row = 0; row < count() && !shownPath_.isEmpty(); ++row)
        if (model_->titleAt(row)->path() == shownPath_) {
            selectQuietly(row);
            revealRow(row, Reveal::Visible);
            break;
        }
}

void MailTitles::sortTitle()
{
    if (const std::optional<TitleKey> key = TitleKeyFromIdentifier(identifier_))
        model_->sortRows(*key, reverse_);
}

int MailTitles::findIndex() const { return IndexOfPath(model_->titles(), shownPath_); }

int MailTitles::selectedRow() const
{
    const QItemSelectionModel *selection = table_.selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return current.row();
    const std::vector<int> rows = selectedRows();
    return rows.empty() ? -1 : rows.back();
}

std::vector<int> MailTitles::selectedRows() const
{
    // From the selection's ranges: asking the model for its selected rows
    // costs a pass over every range for every row, which a selection of a
    // thousand scattered rows makes slow.
    std::vector<int> rows;
    for (const QItemSelectionRange &range : table_.selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

std::vector<SelectedMail> MailTitles::selectedMails() const
{
    std::vector<SelectedMail> mails;
    for (const int row : selectedRows())
        if (const Title *title = model_->titleAt(row); title && !title->path().isEmpty())
            mails.push_back({row, title->path(), title->subject(), title->archiveState() != 0,
                             title->replyState() != 0});
    return mails;
}

int MailTitles::find(const SelectedMail &mail) const
{
    if (const Title *title = model_->titleAt(mail.row); title && title->path() == mail.path)
        return mail.row;
    const TitleArray &all = model_->titles();
    for (size_t row = 0; row < all.size(); ++row)
        if (all[row].path() == mail.path)
            return int(row);
    // A state change renames only the extension.
    const QByteArrayView stem = mailname::withoutExtension(mail.path);
    for (size_t row = 0; row < all.size(); ++row)
        if (mailname::withoutExtension(all[row].path()) == stem)
            return int(row);
    return -1;
}

void MailTitles::selectAndShow(int row, Reveal reveal, bool again)
{
    if (unsigned(row) >= unsigned(count()))
        row = count() - 1;
    if (row < 0)
        return;
    if (again)
        clearSelection();
    selectRow(row);
    revealRow(row, reveal);
}

void MailTitles::selectQuietly(int row)
{
    {
        const QSignalBlocker quiet(table_.selectionModel());
        selectRow(row);
    }
    table_.viewport()->update();
}

void MailTitles::clearSelection() { table_.selectionModel()->clearSelection(); }

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
    selectAndShow(target);
}

void MailTitles::readNextMail()
{
    const int current = selectedRow();
    clearSelection();
    selectAndShow(current + 1);
}

int MailTitles::removeRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](int row) { return row < 0 || row >= count(); });
    if (rows.empty())
        return 0;
    QItemSelectionModel *selection = table_.selectionModel();
    // Taking selected rows away would show whichever row stays selected: the
    // selection goes first, in one change.
    if (std::any_of(rows.begin(), rows.end(), [selection](int row) { return selection->isRowSelected(row, QModelIndex()); }))
        clearSelection();
    const std::vector<int> kept = selectedRows();
    const int current = selection->isRowSelected(selection->currentIndex().row(), QModelIndex())
                            ? selection->currentIndex().row()
                            : -1;
    for (const int row : rows)
        emit mailChanged(model_->titleAt(row)->path());
    int removed = 0;
    {
        // Rows leaving above selected ones shift them, and the selection
        // model reports that as a selection change, which would show the
        // mail on show anew, from its top: the reader would lose the place.
        const QSignalBlocker quiet(selection);
        removed = model_->removeTitlesAt(rows);
    }
    table_.viewport()->update();
    rowsChanged();
    // Scattered rows leave in one reset, which forgets the selection: rows
    // the user selected are selected again, quietly, since the mail on show
    // is one of them.
    if (kept.empty() || selection->hasSelection())
        return removed;
    const auto moved = [&rows](int row) { return row - int(std::lower_bound(rows.begin(), rows.end(), row) - rows.begin()); };
    {
        const QSignalBlocker quiet(selection);
        for (const int row : kept)
            selection->select(display_->index(moved(row), 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (current >= 0)
            selection->setCurrentIndex(display_->index(moved(current), 0), QItemSelectionModel::NoUpdate);
    }
    table_.viewport()->update();
    return removed;
}

void MailTitles::titleChanged(int row)
{
    model_->rowChanged(row);
    rowsChanged();
    if (const Title *title = model_->titleAt(row))
        emit mailChanged(title->path());
}

int MailTitles::followRename(const QByteArray &from, const QByteArray &to)
{
    // Only the mail on show follows: the view keeps naming the file it shows.
    if (shownPath_ == from)
        shownPath_ = to;
    const TitleArray &all = model_->titles();
    for (size_t row = 0; row < all.size(); ++row)
        if (all[row].path() == from) {
            model_->titleAt(int(row))->setPath(to);
            titleChanged(int(row));
            return int(row);
        }
    return -1;
}

void MailTitles::rowsChanged()
{
    if (isLoading())
        pending_.changed = true;
}

std::pair<int, int> MailTitles::visibleRows() const
{
    const int rows = count();
    const int top = table_.rowAt(0);
    if (top < 0 || rows <= 0)
        return {0, 0};
    int bottom = table_.rowAt(table_.viewport()->height() - 1);
    if (bottom < 0) // the rows end above the bottom of the view
        bottom = rows - 1;
    return {top, bottom - top + 1};
}

void MailTitles::revealRow(int row, Reveal reveal)
{
    if (reveal == Reveal::None || row < 0 || row >= count())
        return;
    const int column = table_.horizontalHeader()->logicalIndex(0);
    table_.doItemsLayout(); // scroll ranges must be known before scrolling
    // Past the row first, then back by the least amount: the row lands at
    // the edge it was approached from.
    if (reveal == Reveal::Top)
        table_.scrollTo(display_->index(count() - 1, column));
    else if (reveal == Reveal::Bottom)
        table_.scrollTo(display_->index(0, column));
    table_.scrollTo(display_->index(row, column), QAbstractItemView::EnsureVisible);
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
    if (count() > 0)
        selectAndShow(0, Reveal::Visible);
    if (const std::optional<TitleKey> key = TitleKeyFromIdentifier(identifier_))
        filter_.sortHidden(*key, reverse_);
}

void MailTitles::selectRow(int row)
{
    if (!model_->titleAt(row))
        return;
    table_.selectionModel()->setCurrentIndex(display_->index(row, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void MailTitles::showSortIndicator()
{
    QHeaderView *header = table_.horizontalHeader();
    const int column = TitleTableModel::columnOfIdentifier(identifier_);
    header->setSortIndicatorShown(column >= 0);
    if (column >= 0)
        header->setSortIndicator(column, reverse_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

} // namespace wex
