// The key bindings: key presses turned into stored keys, stored bindings with damage skipped, and the editor's windows.
#include "KeyEditor.h"
#include "KeyEventConverter.h"
#include "KeyTableModel.h"
#include "KeyWindow.h"
#include "ReadingFixture.h"
#include "SelectCommandWindow.h"

#include <QJsonArray>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace wex::test {

TEST(KeyEventConverter, ConvertsKeysAsStoredBindingsExpect)
{
    constexpr uint32_t S = mod::Shift, C = mod::Control, A = mod::Alternate, K = mod::NumericPad, F = mod::Function;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text, characters; // text: what the platform says the key typed
        uint32_t flags;
    } cases[] = {
        {Qt::Key_N, Qt::ShiftModifier, "N", "N", S}, // letters: from the key, Shift applied, Control and Alt not
        {Qt::Key_N, Qt::ControlModifier, "\x0e", "n", C},
        {Qt::Key_N, Qt::AltModifier, "", "n", A},
        {Qt::Key_Adiaeresis, Qt::ShiftModifier, QString::fromUtf8("Ä"), QString::fromUtf8("Ä"), S},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", "\r", K}, // named keys
        {Qt::Key_Backtab, Qt::ShiftModifier, "", "\t", S},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", "\x7f", 0},
        {Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier, "", QString(QChar(0xF700)), S | C | F}, // function keys
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", QString(QChar(0xF728)), F},
        {0, Qt::NoModifier, QStringLiteral("´"), QStringLiteral("´"), 0}, // unnamed: what it typed
    };
    for (const auto &c : cases) {
        const std::optional<MethodKey> key = MethodKeyFromEvent(QKeyEvent(QEvent::KeyPress, c.key, c.modifiers, c.text));
        ASSERT_TRUE(key) << std::hex << c.key;
        EXPECT_EQ(key->characters(), c.characters) << std::hex << c.key << " " << c.modifiers.toInt();
        EXPECT_EQ(key->modifierFlags(), c.flags) << std::hex << c.key << " " << c.modifiers.toInt();
    }
    for (int key : {int(Qt::Key_Shift), int(Qt::Key_Control), int(Qt::Key_Alt), int(Qt::Key_CapsLock), 0})
        EXPECT_FALSE(MethodKeyFromEvent(QKeyEvent(QEvent::KeyPress, key, Qt::ShiftModifier))) << "typed nothing";
}

const QString kKeyBind = QStringLiteral("Key Bind");

class KeyBindingsTest : public ::testing::Test, protected ReadingFixture {
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
    std::optional<int> bound(const char *characters, uint32_t flags = 0) const
    {
        return keys.serialForKey(MethodKey(QString::fromLatin1(characters), flags));
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

    QTableView keyTable;
    KeyEditor editor{keys, keyTable};
    const QStringList defaultRows = rows();
};

TEST_F(KeyBindingsTest, SavedBindingsRoundTripAndDamageIsSkipped)
{
    defaults.setArray(kKeyBind, QJsonArray{
        QJsonArray{"x", 0}, QJsonArray{"x", 0, 9}, QJsonArray{"x", 0, 2.5}, QJsonArray{1, 0, 2}, // damaged: skipped
        "not an entry", QJsonArray{"a", 0, 8, "Unread Mail"},
        QJsonArray{"z", 524288, 1},              // the name is optional
        QJsonArray{"a", 0, 6, "Next Page Mail"}, // the same key again: the later wins
        QJsonArray{"c", 262144, 6, "Whatever"},
    });
    keys.restoreBindings();
    EXPECT_FALSE(bound("x"));
    EXPECT_FALSE(bound(" ")) << "saved bindings replace the defaults";
    keys.saveBindings();
    // Grouped by command in serial order; a command's keys keep their order.
    const QJsonArray expected = {QJsonArray{"z", 524288, 1, "Previous Page"}, QJsonArray{"a", 0, 6, "Next Page Mail"},
                                 QJsonArray{"c", 262144, 6, "Next Page Mail"}};
    EXPECT_EQ(*defaults.arrayForKey(kKeyBind), expected);

    defaults.setArray(kKeyBind, QJsonArray()); // an empty array is no bindings, and saved as such
    keys.restoreBindings();
    EXPECT_TRUE(keys.keyArray().isEmpty());
    keys.saveBindings();
    EXPECT_EQ(defaults.arrayForKey(kKeyBind), QJsonArray());
}

TEST_F(KeyBindingsTest, OutOfRangeCommandsAndRowsChangeNothing)
{
    const qsizetype before = keys.keyArray().size();
    EXPECT_FALSE(keys.performCommand(KeyController::CommandCount));
    EXPECT_FALSE(keys.addBinding(MethodKey("q", 0), KeyController::CommandCount));
    EXPECT_FALSE(keys.removeBindingAt(99));
    EXPECT_EQ(keys.keyArray().size(), before);
}

TEST_F(KeyBindingsTest, CancelChangesNothingAndAKeyJoinsTheChosenCommandMovingFromAnother)
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
    EXPECT_EQ(bound("j", mod::Alternate), KeyController::NextMail);

    // By keyboard alone: Return on the command still highlighted from the last
    // run goes on; Ctrl+. cancels the key window.
    bool asked = false;
    WhenModal<SelectCommandWindow>([](SelectCommandWindow *w) { QTest::keyClick(w->methodTable(), Qt::Key_Return); });
    WhenModal<KeyWindow>([&](KeyWindow *w) {
        asked = w->keyWindowMessage()->text().contains(keys.methodArray().at(KeyController::NextMail).name());
        QTest::keyClick(w, Qt::Key_Period, Qt::ControlModifier);
    });
    editor.addKey();
    EXPECT_TRUE(asked);
    EXPECT_EQ(rows(), expected);

    bind(KeyController::PrevLine, Qt::Key_N); // "n" was Next Line's
    EXPECT_EQ(rows()[3], QStringLiteral("|n"));
    EXPECT_EQ(bound("n"), KeyController::PrevLine);

    // A group of one, for a command that had no key; Escape is a key like any other.
    bind(KeyController::UnreadMail, Qt::Key_Escape);
    EXPECT_TRUE(rows().last().endsWith(QStringLiteral("|\x1b")));
}

TEST_F(KeyBindingsTest, RemovingTheSelectedKeyOrAllKeys)
{
    editor.removeSelectionKey();
    EXPECT_EQ(rows(), defaultRows) << "no row selected: nothing removed";

    keyTable.selectRow(4); // Next Mail's Alt-n
    editor.removeSelectionKey();
    QStringList expected = defaultRows;
    expected.removeAt(4);
    EXPECT_EQ(rows(), expected);
    EXPECT_FALSE(bound("n", mod::Alternate));

    editor.removeAllKey();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_FALSE(bound("n")) << "no key runs a command";
}

} // namespace wex::test
