#pragma once
// One column of the folder browser: a list of the folders inside its root
// folder. Reports keyboard moves apart from mouse clicks, because a keyboard
// move has no click to trigger the browser's click handling.
#include <QListView>

namespace wex {

class FolderColumn : public QListView {
    Q_OBJECT
public:
    explicit FolderColumn(QWidget *parent = nullptr);

signals:
    // Up/Down/Home/End/Page keys moved the selection to another folder.
    void keyboardMoved(const QModelIndex &index);
    // Left or Right arrow: step = -1 or +1 column.
    void acrossRequested(int step);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace wex
