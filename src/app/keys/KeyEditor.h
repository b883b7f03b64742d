#pragma once
// Edits the key bindings from the preferences window.
//
// Adding runs two windows modally in turn, over the preferences window: the
// select-command window (a click on a command goes on, Cancel goes back), then
// the key window (the next key press is bound to the chosen command, Cancel
// goes back). A key bound to another command moves to the chosen one. Remove
// takes out the binding of the key table's selected row, Remove All every
// binding, without asking. Changes act at once; the key controller writes
// them at termination.
//
// Ownership: owns the key table's model and the two windows; the key
// controller and the key table (the preferences window's) must outlive it.
#include <QObject>
#include <memory>

class QTableView;

namespace wex {

class KeyController;
class KeyTableModel;
class KeyWindow;
class MethodKey;
class SelectCommandWindow;

class KeyEditor : public QObject {
    Q_OBJECT
public:
    // Shows the bindings in keyTable.
    KeyEditor(KeyController &keys, QTableView &keyTable, QObject *parent = nullptr);
    ~KeyEditor() override;

    KeyTableModel *keyTableModel() const { return model_.get(); }
    SelectCommandWindow *selectCommandWindow() const { return selectWindow_.get(); }
    KeyWindow *keyWindow() const { return keyWindow_.get(); }
    // The command whose key is asked for (or was asked for last); -1 before.
    int currentMethod() const { return currentMethod_; }

    // The add button: picks a command, then its key; returns when both
    // windows are done.
    void addKey();
    // A command chosen in the select-command window: its key is asked for
    // next. With no command selected the window stays open.
    void enterKeyForCommand();
    void selectCommandCancel();
    void keyWindowCancel();
    // Binds the key to the current command.
    void keyDown(const MethodKey &key);
    // Nothing happens without a selected row.
    void removeSelectionKey();
    void removeAllKey();

    // The bindings may have changed: the key table shows them again.
    void reloadKeyTable();

signals:
    // The main windows are to come to the front (between the two windows of
    // an addition, and after a key was bound).
    void windowsToFront();

private:
    KeyController &keys_;
    QTableView &keyTable_;
    std::unique_ptr<KeyTableModel> model_;
    std::unique_ptr<SelectCommandWindow> selectWindow_;
    std::unique_ptr<KeyWindow> keyWindow_;
    int currentMethod_ = -1;
};

} // namespace wex
