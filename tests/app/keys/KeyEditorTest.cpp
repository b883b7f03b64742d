// The key binding editor through its windows, run modally as in the
// application: the command window, the key window and the key table.
#include "DefaultsStore.h"
#include "KeyController.h"
#include "KeyEditor.h"
#include "KeyTableModel.h"
#include "KeyWindow.h"
#include "ModalDriver.h"
#include "PreferencesWindow.h"
#include "SelectCommandWindow.h"
#include "ShellTestSupport.h"
#include "TestStore.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace wex::test {
namespace {

class KeyEditorTest : public ::testing::Test {
protected:
    KeyEditorTest() : defaults(dir.pathString() + QStringLiteral("/defaults.json"))
    {
        keys.awakeFromNib(); // the six default bindings
        editor.setPreferenceWindow(&window);
    }

    // Adds a binding through both windows: picks the command's row, then
    // presses the key (after a bare Shift press, which must bind nothing).
    void bind(int serial, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        WhenModal<SelectCommandWindow>([serial](SelectCommandWindow *w) {
            QListWidget *list = w->methodTable();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(serial)).center());
        });
        WhenModal<KeyWindow>([this, key, modifiers](KeyWindow *w) {
            message = w->keyWindowMessage()->text();
            QTest::keyPress(w, Qt::Key_Shift);
            EXPECT_TRUE(w->isVisible()) << "a bare modifier binds nothing";
            QTest::keyClick(w, key, modifiers);
        });
        editor.addKey();
    }
    // The key table as "command|modifiers|key" rows.
    QStringList rows() const
    {
        QStringList out;
        const KeyTableModel &m = *editor.keyTableModel();
        for (int r = 0; r < m.rowCount(); ++r) {
            QString modifiers;
            for (int c = 1; c < m.columnCount() - 1; ++c)
                modifiers += m.index(r, c).data().toString();
            out.append(m.index(r, 0).data().toString() + '|' + modifiers + '|' +
                       m.index(r, m.columnCount() - 1).data().toString());
        }
        return out;
    }
    int selectedKeyRow() const
    {
        const QModelIndexList selected = window.keyTable()->selectionModel()->selectedRows();
        return selected.size() == 1 ? selected.first().row() : -1;
    }
    void selectKeyRow(int row) const { window.keyTable()->selectRow(row); }

    TestDir dir;
    DefaultsStore defaults;
    KeyController keys{defaults};
    PreferencesWindow window;
    KeyEditor editor{keys};
    QString message;
};

const QStringList kDefaultRows = {
    "Next Page||Space", "Previous Page||b", "Next Line||n", "Previous Line||p", "Next Mail|Opt+|n",
    "Previous Mail|Opt+|p",
};

TEST_F(KeyEditorTest, AKeyPressedForACommandJoinsItsGroupAndActsAtOnce)
{
    EXPECT_EQ(rows(), kDefaultRows);
    bind(KeyController::NextMail, Qt::Key_J, Qt::AltModifier);
    EXPECT_EQ(message, QStringLiteral("Enter Key for \"Next Mail\"."));
    EXPECT_EQ(rows(), QStringList({"Next Page||Space", "Previous Page||b", "Next Line||n", "Previous Line||p",
                                   "Next Mail|Opt+|n", "|Opt+|j", "Previous Mail|Opt+|p"}));
    EXPECT_EQ(selectedKeyRow(), 0);
    EXPECT_EQ(keys.serialForKey(MethodKey(QStringLiteral("j"), mod::Alternate)), KeyController::NextMail);

    // A group of one, for a command that had no key; Escape is a key like any other.
    bind(KeyController::UnreadMail, Qt::Key_Escape);
    EXPECT_EQ(rows().last(), QStringLiteral("Unread Mail||\x1b"));
}

TEST_F(KeyEditorTest, AKeyBoundElsewhereMovesToTheChosenCommand)
{
    bind(KeyController::PrevLine, Qt::Key_N);
    EXPECT_EQ(rows(), QStringList({"Next Page||Space", "Previous Page||b", "Previous Line||p", "||n",
                                   "Next Mail|Opt+|n", "Previous Mail|Opt+|p"}));
    EXPECT_EQ(keys.serialForKey(MethodKey(QStringLiteral("n"), 0)), KeyController::PrevLine);
}

TEST_F(KeyEditorTest, CancelInEitherWindowChangesNothing)
{
    // No command selected: the command window stays until cancelled.
    WhenModal<SelectCommandWindow>([this](SelectCommandWindow *w) {
        editor.enterKeyForCommand();
        EXPECT_TRUE(w->isVisible());
        w->cancelButton()->click();
    });
    editor.addKey();
    WhenModal<SelectCommandWindow>([](SelectCommandWindow *w) {
        w->methodTable()->setCurrentRow(KeyController::NextPage);
        emit w->commandChosen();
    });
    WhenModal<KeyWindow>([](KeyWindow *w) { QTest::mouseClick(w->cancelButton(), Qt::LeftButton); });
    editor.addKey();
    EXPECT_EQ(rows(), kDefaultRows);
}

TEST_F(KeyEditorTest, RemovingKeysAndSavingNone)
{
    ModelChecker checker(editor.keyTableModel());
    editor.removeSelectionKey();
    EXPECT_EQ(rows(), kDefaultRows) << "no row selected: nothing removed";

    bind(KeyController::NextMail, Qt::Key_J, Qt::AltModifier);
    selectKeyRow(4); // the first of the Next Mail group
    window.removeKeyButton()->click();
    EXPECT_EQ(rows().mid(4), QStringList({"Next Mail|Opt+|j", "Previous Mail|Opt+|p"}));
    EXPECT_FALSE(keys.serialForKey(MethodKey(QStringLiteral("n"), mod::Alternate)));

    window.removeAllKeyButton()->click();
    EXPECT_TRUE(rows().isEmpty());
    keys.terminate();
    EXPECT_EQ(defaults.arrayForKey(QStringLiteral("Key Bind")), QJsonArray());
    EXPECT_EQ(checker.failures(), 0) << checker.firstFailure().toStdString();
}

} // namespace
} // namespace wex::test
