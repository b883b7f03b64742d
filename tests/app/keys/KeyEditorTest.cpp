// The key binding editor through its windows, run modally as in the application.
#include "KeyEditor.h"
#include "KeyTableModel.h"
#include "KeyWindow.h"
#include "ReadingFixture.h"
#include "SelectCommandWindow.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace wex::test {

class KeyEditorTest : public ::testing::Test {
protected:
    // Adds a binding through both windows: a click on the command, then the key after a bare Shift.
    void bind(int serial, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        WhenModal<SelectCommandWindow>([serial](SelectCommandWindow *w) {
            QListWidget *list = w->methodTable();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(serial)).center());
        });
        WhenModal<KeyWindow>([key, modifiers](KeyWindow *w) {
            QTest::keyPress(w, Qt::Key_Shift);
            EXPECT_TRUE(w->isVisible()) << "a bare modifier binds nothing";
            QTest::keyClick(w, key, modifiers);
        });
        editor.addKey();
    }
    // The key table as "command|key" rows (the command only on a group's first row).
    QStringList rows() const
    {
        QStringList out;
        const KeyTableModel &m = *editor.keyTableModel();
        for (int r = 0; r < m.rowCount(); ++r)
            out.append(m.index(r, 0).data().toString() + '|' + m.index(r, m.columnCount() - 1).data().toString());
        return out;
    }

    ReadingFixture f; // the six default bindings
    QTableView keyTable;
    KeyEditor editor{f.keys, keyTable};
    const QStringList defaultRows = rows();
};

TEST_F(KeyEditorTest, CancelChangesNothingAndAKeyJoinsTheChosenCommandMovingFromAnother)
{
    // Without a command selected or highlighted the command window stays until cancelled.
    WhenModal<SelectCommandWindow>([this](SelectCommandWindow *w) {
        w->methodTable()->setCurrentRow(-1);
        editor.enterKeyForCommand();
        EXPECT_TRUE(w->isVisible());
        w->cancelButton()->click();
    });
    editor.addKey();
    EXPECT_EQ(rows(), defaultRows);

    QSignalSpy front(&editor, &KeyEditor::windowsToFront);
    bind(KeyController::NextMail, Qt::Key_J, Qt::AltModifier);
    EXPECT_EQ(front.count(), 2) << "between the windows and after the key";
    QStringList expected = defaultRows;
    expected.insert(5, QStringLiteral("|j"));
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(f.keys.serialForKey(MethodKey(QStringLiteral("j"), mod::Alternate)), KeyController::NextMail);

    // By keyboard alone: Return on the command still highlighted from the last
    // run goes on; Ctrl+. cancels the key window.
    bool asked = false;
    WhenModal<SelectCommandWindow>([](SelectCommandWindow *w) { QTest::keyClick(w->methodTable(), Qt::Key_Return); });
    WhenModal<KeyWindow>([&](KeyWindow *w) {
        asked = w->keyWindowMessage()->text().contains(f.keys.methodArray().at(KeyController::NextMail).name());
        QTest::keyClick(w, Qt::Key_Period, Qt::ControlModifier);
    });
    editor.addKey();
    EXPECT_TRUE(asked);
    EXPECT_EQ(rows(), expected);

    bind(KeyController::PrevLine, Qt::Key_N); // "n" was Next Line's
    EXPECT_EQ(rows()[3], QStringLiteral("|n"));
    EXPECT_EQ(f.keys.serialForKey(MethodKey(QStringLiteral("n"), 0)), KeyController::PrevLine);

    // A group of one, for a command that had no key; Escape is a key like any other.
    bind(KeyController::UnreadMail, Qt::Key_Escape);
    EXPECT_TRUE(rows().last().endsWith(QStringLiteral("|\x1b")));
}

TEST_F(KeyEditorTest, RemovingTheSelectedKeyOrAllKeys)
{
    editor.removeSelectionKey();
    EXPECT_EQ(rows(), defaultRows) << "no row selected: nothing removed";

    keyTable.selectRow(4); // Next Mail's Alt-n
    editor.removeSelectionKey();
    QStringList expected = defaultRows;
    expected.removeAt(4);
    EXPECT_EQ(rows(), expected);
    EXPECT_FALSE(f.keys.serialForKey(MethodKey(QStringLiteral("n"), mod::Alternate)));

    editor.removeAllKey();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_FALSE(f.keys.serialForKey(MethodKey(QStringLiteral("n"), 0))) << "no key runs a command";
}

} // namespace wex::test
