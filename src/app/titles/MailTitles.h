#pragma once
// The title list controller: owns the titles of the shown folder, is the data
// source of the mail table, and moves the table's selection.
//
// Ownership: the controller owns its model; the table, the contents controller
// and the title window are outlets owned elsewhere (the Assembly's windows) and
// must outlive it. The coding and the defaults store must outlive it too.
#include "Title.h"
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace wex {

class Coding;
class DefaultsStore;
class FolderLoader;
class LoadProgress;
class CalendarFormat;
class MailContents;
class TitleDisplayModel;
class TitleScanner;
class TitleTableModel;

class MailTitles : public QObject {
    Q_OBJECT
public:
    MailTitles(const wex::Coding &coding, wex::DefaultsStore &defaults, QObject *parent = nullptr);
    ~MailTitles() override;

    void setTable(QTableView *table); // outlet; sets its model to model()
    QTableView *table() const;
    void setMailContents(MailContents *c); // outlet
    void setMailTitleWindow(QWidget *w);   // outlet

    // The model the table shows: TitleTableModel's rows as presented
    // (TitleDisplayModel); row numbers are the same in both.
    QAbstractItemModel *model();
    TitleTableModel *titleModel() const { return model_; }
    int count() const;
    Title *titleAt(int row); // nullptr when out of range
    const TitleArray &mailTitles() const;
    void setMailTitles(TitleArray titles); // resets the model; no sort, no selection move

    QString identifier() const;
    void setIdentifier(const QString &id);
    bool reverse() const;
    void setReverse(bool r);

    void awakeFromNib(); // restores column order/widths/date format
    void terminate();    // saves them

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
    // Whether loads use the header cache (default: unless WEX_NO_CACHE is set).
    void setUseCache(bool use);
    bool useCache() const;
    FolderLoader &folderLoader() { return *loader_; }
    // The unread mails of the whole store (its "temp/unreadAliases") as the
    // list, the title window named "Unread Mails"; see replaceMailTitles.
    // A store without that folder gives an empty list.
    void unreadMailTitles();
    // Makes titles the list, sorted by the current key and direction. No mail
    // is shown anew: the mail on show stays selected where the new list holds
    // it, and otherwise no row is selected.
    void replaceMailTitles(TitleArray titles);
    // The scanner the lists are read with (the related mails use it too).
    TitleScanner &titleScanner() { return *scanner_; }
    void sortTitle();
    int findIndex() const;
    void readUnreadMail();
    void readNextMail();
    void showInTitleIndex(int row);
    void removeAtIndex(int row);
    void titleChanged(int row); // a title's values changed in place (makeRead): repaint the row
    int selectedRow() const;    // -1 when none

    // The folder of the list shown: the one last given to loadTitleTable
    // (empty before the first load), set when its load starts.
    const QByteArray &folderPath() const { return folder_; }
    // The date column's format.
    const CalendarFormat &dateFormat() const;
    void setDateFormat(const CalendarFormat &format);
    // Scrolls the last row into view, then the row: a row of a long list comes
    // to stand near the top. Nothing for a row out of range.
    void revealRow(int row);

signals:
    // A load ended and the table shows its titles, selection made.
    void titlesLoaded(const QByteArray &folder);

protected:
    // Clicks in the table's empty area (outside every row) are swallowed:
    // they would clear the selection and with it the mail on show.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void titlesArrived(const QByteArray &folder, bool listed, int errorNumber);
    void showTitles(TitleArray titles, bool refresh, const QByteArray &select);
    void showStatus(const QString &text);
    void headerClicked(int logicalIndex);
    void selectRow(int row);
    void clearSelection();
    // Selects a row after a model reset without a selection change: the row
    // and the mail on show are those of before the reset.
    void reselectQuietly(int row);
    void showSortIndicator();
    int findIndexOfPath(const QByteArray &path) const;
    QByteArray shownPath() const;

    DefaultsStore &defaults_;
    TitleTableModel *model_;
    TitleDisplayModel *display_;
    std::unique_ptr<TitleScanner> scanner_;
    QPointer<QTableView> table_;
    QPointer<MailContents> contents_;
    QPointer<QWidget> titleWindow_;
    QByteArray folder_;
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
