#pragma once
// The folder window's column browser: column 0 lists the folders under the
// root ("/"), each further column the folders inside the one selected to its
// left. A small widget of its own (lists side by side over one FolderModel)
// so that column positions, scrolling by whole columns and the click rules
// are exact and testable.
//
// Choosing a folder (a click, a keyboard move or setPath) cuts the columns to
// its right, lists the folder afresh into a new column and scrolls that column
// into view; a click or keyboard move also announces the folder
// (folderClicked), also when it was already selected, so that its mails are
// listed. A double click announces nothing of its own.
//
// Paths are the file system's bytes throughout, so folders whose names are
// not UTF-8 open like any other; names show through DisplayName().
#include <QWidget>
#include <vector>

class QListView;
class QModelIndex;
class QScrollBar;

namespace wex {

class FolderColumn;
class FolderModel;

class FSBrowser : public QWidget {
    Q_OBJECT
public:
    explicit FSBrowser(QWidget *parent = nullptr);
    ~FSBrowser() override;

    // Roots the browser at another folder ("/" by default); drops every column.
    void setRootPath(const QByteArray &path);
    FolderModel *folderModel() const { return model_; }

    int maxVisibleColumns() const { return maxVisible_; }
    void setMaxVisibleColumns(int count);
    int minColumnWidth() const { return minWidth_; }
    void setMinColumnWidth(int width);

    // The selected folder's absolute path: the folder the last column lists
    // (the root path when nothing is selected).
    QByteArray path() const;
    // Selects each folder along an absolute path, one column per level, each
    // listed afresh; stops at the first part that is not a visible sub-folder
    // (that column is left without a selection). True when every part was
    // found. Loads no mails and sets no title.
    bool setPath(const QByteArray &path);

    int lastColumn() const { return int(columns_.size()) - 1; }
    int selectedColumn() const { return lastColumn() - 1; } // -1 when none
    int firstVisibleColumn() const { return firstVisible_; }
    int numberOfVisibleColumns() const;
    int lastVisibleColumn() const { return firstVisible_ + numberOfVisibleColumns() - 1; }
    void scrollColumnsRightBy(int count);
    void scrollColumnsLeftBy(int count);
    void scrollColumnToVisible(int column);
    // Lists a column's folder again in the current folder order. The selection
    // stays on its folder while that folder exists; when it vanished, the
    // columns from it on close and the column is left without a selection.
    // mayDefer: a folder of very many entries is listed on a worker, and all
    // this happens when that ends.
    void reloadColumn(int column, bool mayDefer = false);
    // The refresh of the folder browser: lists every open column's folder
    // again, left to right, in the current folder order (after a refresh or a
    // download, when folders may have been made or removed, or after a change
    // of the folder order). Every selected folder that still exists stays
    // selected; a selected folder that vanished closes the columns from it on,
    // so path() then names the deepest folder that is left. Loads no mails
    // and sets no title: a caller that shows the folder's mails reloads them
    // from path() afterwards. Folders of very many entries (mail folders) are
    // listed on a worker: their columns follow when that ends.
    void reloadColumns();
    QListView *columnView(int column) const; // nullptr out of range

    // Sets the folder order of every column (FSNodeInfo's "name" or
    // "modDate") and lists the open columns again in it.
    void sortFolderBy(const QString &tag);

    // The click handling, run after the columns have followed the click:
    // announces path().
    void doClick();
    void doDoubleClick();
    bool doubleClickFlag() const { return doubleClick_; }

signals:
    // The user chose a folder with a click or a keyboard move.
    void folderClicked(const QByteArray &path);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void clickFolder(int column, const QModelIndex &folder);
    // mayDefer: a folder of very many entries may get its rows a little later
    // (read on a worker), so a click on it returns at once.
    void openFolder(int column, const QModelIndex &folder, bool mayDefer = false);
    void moveAcross(int column, int step);
    void truncateColumns(int count);
    void addColumn(const QModelIndex &folder, bool mayDefer = false);
    void dropInvalidColumns();
    void scrollTo(int first);
    void layoutColumns();
    int columnOf(const FolderColumn *view) const;

    FolderModel *model_ = nullptr;
    QWidget *area_;
    QScrollBar *scrollBar_;
    std::vector<FolderColumn *> columns_;
    int maxVisible_ = 3;
    int minWidth_ = 110;
    int firstVisible_ = 0;
    bool doubleClick_ = false;
    bool reloading_ = false;
};

} // namespace wex
