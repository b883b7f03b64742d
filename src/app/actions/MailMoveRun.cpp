#include "MailMoveRun.h"

#include "MailMove.h"
#include "MailTitles.h"
#include "TitleTableModel.h"

#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTableView>
#include <algorithm>

namespace wex {
namespace {

// The selected rows, ascending, from the selection's ranges: asking the model
// for its selected rows costs a pass over every range for every row, which a
// selection of a thousand scattered rows makes slow.
std::vector<int> SelectedRows(const QItemSelectionModel &selection)
{
    std::vector<int> rows;
    for (const QItemSelectionRange &range : selection.selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

MailMoveRun::MailMoveRun(MailTitles *titles, const QByteArray &folder, QObject *parent)
    : QObject(parent), titles_(titles), mover_(std::make_unique<MailMover>(folder))
{
    if (!titles)
        return;
    const QTableView *table = titles->table();
    const QItemSelectionModel *selection = table ? table->selectionModel() : nullptr;
    if (!selection)
        return;
    for (int row : SelectedRows(*selection))
        if (const Title *title = titles->titleAt(row))
            entries_.push_back({row, title->path(), title->archiveState() != 0, title->subject()});

    // Any change to the rows that this run does not make.
    TitleTableModel *model = titles->titleModel();
    const auto changed = [this] {
        if (!removing_)
            listChanged_ = true;
    };
    connect(model, &QAbstractItemModel::modelReset, this, changed);
    connect(model, &QAbstractItemModel::layoutChanged, this, changed);
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
}

MailMoveRun::~MailMoveRun() = default;

int MailMoveRun::rowOf(const Entry &entry, int expected)
{
    const Title *title = titles_->titleAt(expected);
    if (title && title->path() == entry.path)
        return expected;
    listChanged_ = true;
    const TitleArray &all = titles_->mailTitles();
    for (size_t row = 0; row < all.size(); ++row)
        if (all[row].path() == entry.path)
            return int(row);
    return -1;
}

bool MailMoveRun::step(std::chrono::nanoseconds budget)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    std::vector<int> leaving; // rows of the list as it is during this step
    while (next_ < entries_.size()) {
        const Entry &entry = entries_[next_++];
        // The index the mail has once every earlier move took its row.
        const int index = entry.row - moved_;
        const int row = titles_ ? rowOf(entry, entry.row - rowsTaken_) : -1;
        const MailMoveResult result = mover_->move(entry.path, entry.archive);
        if (result.moved()) {
            ++moved_;
            if (row >= 0)
                leaving.push_back(row);
        } else if (result.kind == MailMoveResult::Failed) {
            const QByteArray source = MailMoveSource(entry.path, entry.archive);
            failures_.append({entry.subject, source.mid(source.lastIndexOf('/') + 1), result.outcome.message});
        }
        lastIndex_ = index;
        if (Clock::now() - start >= budget)
            break;
    }
    if (titles_ && !leaving.empty())
        takeRows(leaving);
    rowsTaken_ = moved_;
    return finished();
}

void MailMoveRun::takeRows(std::vector<int> &leaving)
{
    std::sort(leaving.begin(), leaving.end());
    leaving.erase(std::unique(leaving.begin(), leaving.end()), leaving.end());
    QTableView *table = titles_->table();
    QItemSelectionModel *selection = table ? table->selectionModel() : nullptr;
    std::vector<int> kept;
    int current = -1;
    if (selection) {
        const bool selectedLeaves = std::any_of(leaving.begin(), leaving.end(), [selection](int row) {
            return selection->isRowSelected(row, QModelIndex());
        });
        // Taking selected rows away would show whichever row stays
        // selected; the selection goes first, in one change.
        if (selectedLeaves)
            selection->clearSelection();
        kept = SelectedRows(*selection);
        if (selection->isRowSelected(selection->currentIndex().row(), QModelIndex()))
            current = selection->currentIndex().row();
    }
    removing_ = true;
    titles_->titleModel()->removeTitlesAt(leaving);
    removing_ = false;
    // Scattered rows leave in one reset, which forgets the selection: a row
    // the user selected meanwhile is selected again, quietly, since its mail
    // is the one on show.
    if (!selection || kept.empty() || selection->hasSelection())
        return;
    const auto moved = [&leaving](int row) {
        return row - int(std::lower_bound(leaving.begin(), leaving.end(), row) - leaving.begin());
    };
    const QAbstractItemModel *model = table->model();
    {
        const QSignalBlocker quiet(selection);
        for (int row : kept)
            selection->select(model->index(moved(row), 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (current >= 0)
            selection->setCurrentIndex(model->index(moved(current), 0), QItemSelectionModel::NoUpdate);
    }
    table->viewport()->update();
}

void MailMoveRun::finish()
{
    while (!step(std::chrono::nanoseconds::max())) {
    }
}

} // namespace wex
