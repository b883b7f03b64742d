#pragma once
// The window that asks for a key: the next key press in it becomes a key
// descriptor, converted exactly as the main windows convert key presses, and
// ends its modal run with Accepted. Every key counts, Escape, Return, Tab and
// keys that are shortcuts elsewhere included; a bare modifier press gives no
// descriptor and the window keeps waiting. Its Cancel button (which never
// takes the keyboard focus) and Ctrl+. end the run with Rejected; Ctrl+. is
// the one key that cannot be bound here.
#include "MethodKey.h"

#include <QDialog>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;

namespace Ui {
class KeyWindow;
}

namespace wex {

class KeyWindow : public QDialog {
    Q_OBJECT
public:
    explicit KeyWindow(QWidget *parent = nullptr);
    ~KeyWindow() override;

    QLabel *keyWindowMessage() const;
    QPushButton *cancelButton() const;

    // The key of the last run; nullopt until a key was pressed in it.
    const std::optional<MethodKey> &capturedKey() const { return captured_; }

    // Clears the captured key and runs the window modally.
    int exec() override;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::KeyWindow> form_;
    std::optional<MethodKey> captured_;
};

} // namespace wex
