#pragma once
// The title list controller: owns the titles of the shown list, is the data
// source of the mail table, and is the one owner of the table's selection.
//
// Selecting a row is what shows a mail: the contents view follows
// selectionChanged(). Every writer of the list or the selection (key
// navigation, the mail commands, moves, the unread and related lists, loads
// and refreshes) goes through the functions below, so the rules live in one
// place: a row leaves the list only through removeRows(), which also tells a
// running load that the rows it will replace have changed; a command that
// acts on several mails removes their rows without showing any mail on the
// way, and selects (and so shows) one row at its end.
//
// Ownership: the controller owns its models, loader and progress report. The
// table and the title window belong to the title window and must outlive the
// controller; so must the coding, the defaults store and the store context.
#include "Title.h"
#include "TitleFilter.h"
#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QAbstractItemModel;
class QMainWindow;
class QTableView;

namespace wex {

class Coding;
class DefaultsStore;
class FolderLoader;
class LoadProgress;
class CalendarFormat;
struct StoreContext;
class TitleDisplayModel;
class TitleScanner;
class TitleTableModel;

// A mail a command acts on, taken from the selection when the command starts.
// The path is the mail file's at that moment; find() finds its row again
// after the list changed or the file was renamed to another state.
struct SelectedMail {
    int row = -1;
    QByteArray path;
    QString subject;
    bool archive = false;
    bool replied = false;
};

class MailTitles : public QObject {
    Q_OBJECT
public:
    // How a row is brought into view.
    enum class Reveal {
        None,
        Visible, // the least scrolling that shows it
        Top,     // near the top: the last row is scrolled into view first
        Bottom,  // near the bottom: the first row is scrolled into view first
    };

    MailTitles(const Coding &coding, DefaultsStore &defaults, const StoreContext &store, QTableView &table,
               QMainWindow &titleWindow, QObject *parent = nullptr);
    ~MailTitles() override;

    QTableView &table() const { return table_; }
    // The model the table shows: TitleTableModel's rows as presented
    // (TitleDisplayModel); row numbers are the same in both.
    QAbstractItemModel *model();
    TitleTableModel *titleModel() const { return model_; }
    int count() const;
    Title *titleAt(int row); // nullptr when out of range
    const TitleArray &mailTitles() const;
    // Makes titles the list as they are: no sort, no selection move, no load
    // cancelled (the table forgets its selection without telling anyone).
    void setMailTitles(TitleArray titles);

    QString identifier() const;
    void setIdentifier(const QString &id);
    bool reverse() const;
    void setReverse(bool r);

    // Column order and widths and the date format from the defaults store,
    // and back.
    void restoreLayout();
    void saveLayout();

    // Starts loading folder's titles and returns at once; the table shows
    // them when the load ends (titlesLoaded). A load of another folder than
    // the one shown empties the table at once; a load of the same folder
    // keeps its rows until the new ones replace them. A load still running
    // is cancelled, and its wishes carried over when it was of the same
    // folder. refresh: select the first unread mail, else the first row;
    // otherwise the mail on show stays selected where the new list has it.
    // select: with refresh, the path of the mail to select in place of the
    // first unread one (as a title carries it); ignored when no row has it.
    void loadTitleTable(const QByteArray &folder, bool refresh, const QByteArray &select = QByteArray());
    // Whether a load runs; the rows shown are then those of before it.
    bool isLoading() const;
    // Drops a running load; the rows shown stay.
    void cancelLoad();
    // Whether loads use the header cache.
    void setUseCache(bool use);
    bool useCache() const;
    FolderLoader &folderLoader() { return *loader_; }
    // The unread mails of the whole store (its "temp/unreadAliases") as the
    // list, the title window named "Unread Mails"; see replaceMailTitles.
    void unreadMailTitles();
    // Makes titles the list, sorted by the current key and direction. No mail
    // is shown anew: the mail on show stays selected where the new list holds
    // it, and otherwise no row is selected.
    void replaceMailTitles(TitleArray titles);
    // The quick filter: words the sender or subject of a row must hold, each
    // of them (empty: every row). Only the rows that match are in the list;
    // every function here, and so every command, sees those rows only. The
    // mail on show stays selected when it still shows, and is no longer
    // shown when it went. Another list (another folder, the unread, related
    // or found mails) clears the words; a load of the same folder keeps them.
    void setFilterText(const QString &text);
    const QString &filterText() const { return filter_.text(); }
    // The rows of the list with the hidden ones.
    int totalCount() const { return count() + int(filter_.hiddenCount()); }
    // The unread mails of the list, hidden ones too.
    int unreadCount() const;
    // The unread titles of the list, hidden ones too, as copies.
    TitleArray unreadTitles() const;
    // The scanner the lists are read with (the related mails use it too).
    TitleScanner &titleScanner() { return *scanner_; }
    void sortTitle();

    // The mail on show: the path of the mail the contents view shows (empty
    // when none), kept by the contents view and followed through renames.
    const QByteArray &shownPath() const { return shownPath_; }
    void setShownPath(const QByteArray &path) { shownPath_ = path; }
    // The row of the mail on show, searched from the last row down to row 1;
    // row 0 both when it matches and when nothing does; -1 for an empty list.
    int findIndex() const;

    // The selection.
    int selectedRow() const; // the current row when selected, else the last selected; -1 when none
    std::vector<int> selectedRows() const; // ascending
    std::vector<SelectedMail> selectedMails() const; // ascending rows, titles with a path only
    // The row of a mail taken earlier: its own row when it still holds it,
    // else the row whose path is its path, else the row of the same mail
    // under another state's extension; -1 when the mail left the list.
    int find(const SelectedMail &mail) const;
    // Selects one row and so shows its mail. Rows past the end (and negative
    // rows) mean the last row; nothing for an empty list. again: deselect
    // first, so the contents view shows the mail anew even when it was
    // already selected.
    void selectAndShow(int row, Reveal reveal = Reveal::Top, bool again = false);
    // Selects one row without the contents view hearing of it: the mail on
    // show stays as it is.
    void selectQuietly(int row);
    // No row selected: the contents view shows no mail.
    void clearSelection();
    void revealRow(int row, Reveal reveal = Reveal::Top);
    // The rows that intersect the table's visible area: first row and count
    // (the last may be partly visible); (0, 0) for an empty table.
    std::pair<int, int> visibleRows() const;

    // The navigation moves.
    void readUnreadMail(); // the first unread mail at or after the selected row
    void readNextMail();   // the row after the selected one (row 0 without one)
    void showInTitleIndex(int row) { selectAndShow(row); }

    // Rows leave the list only here, in one change (any order; repeats and
    // rows out of range are ignored). A running load is told that the rows
    // changed, so it lists the folder again rather than bring the rows back.
    // No mail is shown on the way: when a leaving row is selected, the
    // selection is cleared first; rows selected that stay, stay selected.
    // Answers how many rows went.
    int removeRows(std::vector<int> rows);
    // A title's values changed in place (a state rename): its row repaints
    // and a running load is told, as for removeRows().
    void titleChanged(int row);
    // A mail file was renamed from one path to another by a command: its
    // title and the mail on show follow it. Answers the title's row (-1 when
    // no row holds the old path).
    int followRename(const QByteArray &from, const QByteArray &to);

    // The folder of the list shown: the one last given to loadTitleTable
    // (empty before the first load), set when its load starts.
    const QByteArray &folderPath() const { return folder_; }
    const CalendarFormat &dateFormat() const;
    void setDateFormat(const CalendarFormat &format);

signals:
    // The table's selection changed: the contents view shows what it holds.
    void selectionChanged();
    // A load ended and the table shows its titles, selection made.
    void titlesLoaded(const QByteArray &folder);
    // A mail of the list was renamed or left it (read, replied, moved,
    // deleted): path is the one it had in the list, or has now.
    void mailChanged(const QByteArray &path);
    // The filter's words changed (also when another list cleared them).
    void filterChanged(const QString &text);

protected:
    // Clicks in the table's empty area (outside every row) are swallowed:
    // they would clear the selection and with it the mail on show.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpTable();
    void titlesArrived(const QByteArray &folder, bool listed, int errorNumber);
    void showTitles(TitleArray titles, bool refresh, const QByteArray &select);
    void headerClicked(int logicalIndex);
    void selectRow(int row);
    void showSortIndicator();
    void rowsChanged();
    void setShownTitles(TitleArray shown);
    void clearFilter();

    DefaultsStore &defaults_;
    const StoreContext &store_;
    QTableView &table_;
    QMainWindow &titleWindow_;
    TitleTableModel *model_;
    TitleDisplayModel *display_;
    TitleFilter filter_;
    std::unique_ptr<TitleScanner> scanner_;
    QByteArray folder_;
    // Whether the list is folder_'s (not the unread, related or found mails).
    bool listIsFolder_ = true;
    QByteArray shownPath_;
    // What the running load is to do once its titles arrive.
    struct PendingLoad {
        bool refresh = false;
        QByteArray select;
        std::optional<TitleKey> key; // the order the loader sorts in
        bool reverse = false;
        // The rows shown were changed (a mail read, moved or removed) while
        // it ran: its listing may predate the change, so it is made again.
        bool changed = false;
    };
    PendingLoad pending_;
    std::unique_ptr<FolderLoader> loader_;
    LoadProgress *progress_;
    QString identifier_ = QStringLiteral("date");
    bool reverse_ = false;
};

} // namespace wex
