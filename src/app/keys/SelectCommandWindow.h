#pragma once
// The window in which the user picks the command to bind a key to: the
// commands in serial order, one row each. A click on a row (or Return on it)
// sends commandChosen(); Cancel ends the modal run with Rejected.
#include <QDialog>
#include <QStringList>
#include <memory>

class QListWidget;
class QPushButton;

namespace Ui {
class SelectCommandWindow;
}

namespace wex {

class SelectCommandWindow : public QDialog {
    Q_OBJECT
public:
    explicit SelectCommandWindow(QWidget *parent = nullptr);
    ~SelectCommandWindow() override;

    void setCommandNames(const QStringList &names);
    QListWidget *methodTable() const;
    QPushButton *cancelButton() const;
    // The selected row, else the current (highlighted) one; -1 when neither is.
    int chosenRow() const;

signals:
    void commandChosen();

private:
    std::unique_ptr<Ui::SelectCommandWindow> form_;
};

} // namespace wex
