#pragma once
// The preferences window: the download controls (with the new-mail notice
// switch), the header cache switch,
// the key table with its
// buttons and the font table. It holds widgets only; the controllers that
// the Assembly connects to it act on them.
//
// No button is a default button: Return in the interval field confirms the
// field and leaves the window open.
#include <QDialog>
#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace Ui {
class PreferencesWindow;
}

namespace wex {

class PreferencesWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesWindow(QWidget *parent = nullptr);
    ~PreferencesWindow() override;

    QCheckBox *downloadAtStartUpSwitch() const;
    QCheckBox *repeatDownloadSwitch() const;
    QLineEdit *downloadIntervalField() const;
    QCheckBox *headerCacheSwitch() const;
    QCheckBox *notifyNewMailSwitch() const;
    QTableView *keyTable() const;
    QPushButton *addKeyButton() const;
    QPushButton *removeKeyButton() const;
    QPushButton *removeAllKeyButton() const;
    QTableView *fontTable() const;
    QPushButton *doneButton() const;

private:
    std::unique_ptr<Ui::PreferencesWindow> form_;
};

} // namespace wex
