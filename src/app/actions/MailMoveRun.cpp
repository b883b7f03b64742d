#include "MailMoveRun.h"

#include "MailMove.h"
#include "MailTitles.h"
#include "SafeMove.h"
#include "TitleTableModel.h"

namespace wex {

MailMoveRun::MailMoveRun(MailTitles &titles, const QByteArray &folder, Journal *journal, QObject *parent)
    : QObject(parent), titles_(titles), mover_(std::make_unique<MailMover>(folder, journal)), entries_(titles.selectedMails())
{
    // Any change to the rows that this run does not make.
    TitleTableModel *model = titles.titleModel();
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

int MailMoveRun::rowOf(const SelectedMail &entry, int expected)
{
    SelectedMail where = entry;
    where.row = expected;
    const int row = titles_.find(where);
    if (row != expected)
        listChanged_ = true;
    return row;
}

bool MailMoveRun::step(std::chrono::nanoseconds budget)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    std::vector<int> leaving; // rows of the list as it is during this step
    while (next_ < entries_.size()) {
        const SelectedMail &entry = entries_[next_++];
        // The index the mail has once every earlier move took its row.
        const int index = entry.row - moved_;
        const int row = rowOf(entry, entry.row - rowsTaken_);
        // The file as its row names it now (a mail read meanwhile has another
        // name); a mail no longer listed is moved as it was taken.
        const Title *title = titles_.titleAt(row);
        const QByteArray path = title ? title->path() : entry.path;
        const bool archive = title ? title->archiveState() != 0 : entry.archive;
        const QByteArray source = MailMoveSource(path, archive);
        const QByteArray sourceFolder = source.left(source.lastIndexOf('/'));
        if (!cleared_.contains(sourceFolder)) {
            // No move of this process runs between two mails.
            ClearMoveLeftovers(sourceFolder, true);
            cleared_.insert(sourceFolder);
        }
        const MailMoveResult result = mover_->move(path, archive);
        if (result.moved()) {
            ++moved_;
            if (!result.outcome.message.isEmpty() && leftover_.isEmpty())
                leftover_ = result.outcome.message;
            if (row >= 0)
                leaving.push_back(row);
        } else if (result.kind == MailMoveResult::Failed) {
            failures_.append({entry.subject, source.mid(source.lastIndexOf('/') + 1), result.outcome.message});
        }
        lastIndex_ = index;
        if (Clock::now() - start >= budget)
            break;
    }
    removing_ = true;
    titles_.removeRows(leaving);
    removing_ = false;
    rowsTaken_ = moved_;
    return finished();
}

void MailMoveRun::finish()
{
    while (!step(std::chrono::nanoseconds::max())) {
    }
}

} // namespace wex
