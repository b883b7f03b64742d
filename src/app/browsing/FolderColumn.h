#pragma once
// One column of the folder browser: a list of the folders inside its root
// folder. Reports clicks and keyboard moves as its own signals, so that the
// browser opens the chosen folder whether or not it was already selected.
#include <QListView>

namespace wex {

class FolderColumn : public QListView {
    Q_OBJECT
public:
    explicit FolderColumn(QWidget *parent = nullptr);

signals:
    // A left-button press on a folder and its release: the folder selected at
    // the release (a drag with the button held moves the selection), also
    // when it was selected before. The second press of a double click counts
    // as a press.
    void folderClicked(const QModelIndex &index);
    // Up/Down/Home/End/Page keys (or typing a name) moved the selection to another folder.
    void keyboardMoved(const QModelIndex &index);
    // Left or Right arrow: step = -1 or +1 column.
    void acrossRequested(int step);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void notePress(QMouseEvent *event);

    bool pressed_ = false; // a left press landed on a folder; cleared by its release
};

} // namespace wex
