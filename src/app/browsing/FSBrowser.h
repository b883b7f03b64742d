#pragma once
// The folder window's column browser: column 0 lists the folders under the
// root ("/"), each further column the folders inside the one selected to its
// left. A small widget of its own (lists side by side over one FolderModel)
// so that column positions, scrolling by whole columns and the click rules
// are exact and testable.
//
// Selecting a folder (mouse, keyboard or setPath) lists it into a new column
// to its right and scrolls that column into view. The click handling on top
// loads the folder's mails into the title list and names the title window;
// a double click loads nothing of its own. The outlets (title list, title
// window) are not owned and must outlive the browser or be reset.
#include <QPointer>
#include <QWidget>
#include <vector>

class QListView;
class QModelIndex;
class QScrollBar;

namespace wex {

class FolderColumn;
class FolderModel;
class MailTitles;

class FSBrowser : public QWidget {
    Q_OBJECT
public:
    explicit FSBrowser(QWidget *parent = nullptr);
    ~FSBrowser() override;

    void setMailTitles(MailTitles *titles);
    void setMailTitleWindow(QWidget *window);

    // Roots the browser at another folder ("/" by default); drops every column.
    void setRootPath(const QString &path);
    FolderModel *folderModel() const { return model_; }

    int maxVisibleColumns() const { return maxVisible_; }
    void setMaxVisibleColumns(int count);
    int minColumnWidth() const { return minWidth_; }
    void setMinColumnWidth(int width);

    // The selected folder's absolute path: the folder the last column lists
    // (the root path when nothing is selected).
    QString path() const;
    // Selects each folder along an absolute path, one column per level; stops
    // at the first part that is not a visible sub-folder (that column is left
    // without a selection). True when every part was found.
    bool setPath(const QString &path);

    int lastColumn() const { return int(columns_.size()) - 1; }
    int selectedColumn() const { return lastColumn() - 1; } // -1 when none
    int firstVisibleColumn() const { return firstVisible_; }
    int numberOfVisibleColumns() const;
    int lastVisibleColumn() const { return firstVisible_ + numberOfVisibleColumns() - 1; }
    void scrollColumnsRightBy(int count);
    void scrollColumnsLeftBy(int count);
    void scrollColumnToVisible(int column);
    // Lists a column's folder again in the current folder order.
    void reloadColumn(int column);
    QListView *columnView(int column) const; // nullptr out of range

    // The click handling, run after the selection has followed the click.
    void doClick();
    void doDoubleClick();
    bool doubleClickFlag() const { return doubleClick_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void currentChanged(int column, const QModelIndex &index);
    void moveAcross(int column, int step);
    void truncateColumns(int count);
    void addColumn(const QModelIndex &folder);
    void dropInvalidColumns();
    void scrollTo(int first);
    void layoutColumns();
    int columnOf(const FolderColumn *view) const;

    FolderModel *model_ = nullptr;
    QWidget *area_;
    QScrollBar *scrollBar_;
    std::vector<FolderColumn *> columns_;
    QPointer<MailTitles> titles_;
    QPointer<QWidget> titleWindow_;
    int maxVisible_ = 3;
    int minWidth_ = 110;
    int firstVisible_ = 0;
    bool doubleClick_ = false;
    bool reloading_ = false;
};

} // namespace wex
