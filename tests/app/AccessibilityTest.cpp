// What a screen reader hears through Qt's accessibility interfaces, and whether the states read on any palette.
#include "AppFixture.h"
#include "BrowserTextView.h"
#include "FSBrowser.h"
#include "FolderColumn.h"
#include "FolderModel.h"
#include "PreferencesWindow.h"
#include "RemoveDestinationDialog.h"
#include "SelectCommandWindow.h"
#include "TitleDisplayModel.h"
#include "TitleTableModel.h"

#include <QAccessible>

namespace wex::test {
namespace {

QString Said(QAbstractItemView &view, int row, int column, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface *cell = QAccessible::queryAccessibleInterface(&view)->tableInterface()->cellAt(row, column);
    return cell ? cell->text(text) : QString();
}

} // namespace

// Each row is told as one sentence; each state reads (4.5:1) and keeps a colour of its own on light, dark and
// high-contrast palettes whose link colour stays the platform's blue.
TEST(Accessibility, MailRowsReadAsSentencesOnEveryPalette)
{
    using Set = void (Title::*)(bool);
    const std::vector<Set> states[] = {{&Title::setUnreadState, &Title::setArchiveState}, {}, {&Title::setReplyState},
                                       {&Title::setSendState}, {&Title::setErrorState},
                                       {&Title::setUnreadState, &Title::setErrorState}};
    TitleArray array(std::size(states)); // "anonymous", "No Subject"
    for (size_t row = 0; row < array.size(); ++row)
        for (const Set set : states[row])
            (array[row].*set)(true);
    TitleTableModel titles;
    titles.setTitles(std::move(array));
    TitleDisplayModel display(&titles);
    QTableView view;
    view.setModel(&display);
    const QString date = display.index(0, TitleTableModel::DateColumn).data().toString();
    const QStringList expected = {"unread, from anonymous, No Subject, %1, with attachments",
                                  "read, from anonymous, No Subject, %1", "read, replied, from anonymous, No Subject, %1",
                                  "waiting to be sent, to anonymous, No Subject, %1"};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < TitleTableModel::ColumnCount; ++column)
            EXPECT_EQ(Said(view, row, column, QAccessible::Description), expected[row].arg(date)) << row << column;
    EXPECT_EQ(Said(view, 0, TitleTableModel::StateColumn), QStringLiteral("unread, with attachments"));

    const QPalette original = QGuiApplication::palette();
    for (const auto &[base, text] :
         {std::pair<QColor, QColor>{Qt::white, Qt::black}, {"#1e1e1e", "#e6e6e6"}, {Qt::black, Qt::white}}) {
        QPalette p = original;
        for (const QPalette::ColorRole role : {QPalette::Base, QPalette::AlternateBase, QPalette::Text})
            p.setColor(role, role == QPalette::Text ? text : base);
        QApplication::setPalette(p);
        for (const int row : {0, 4, 5}) {
            const QColor shown = display.index(row, 0).data(Qt::ForegroundRole).value<QColor>();
            EXPECT_NE(shown, text) << row;
            EXPECT_GE(ContrastRatio(shown, base), 4.5) << row;
        }
    }
    QApplication::setPalette(original);
}

using AccessibleWindowsTest = AppFixture;

// Every window and every control Tab reaches has a name; folders are said with their counts; the mail is text.
TEST_F(AccessibleWindowsTest, EveryControlIsNamed)
{
    start();
    SelectCommandWindow selectWindow;
    RemoveDestinationDialog removeWindow;
    for (QWidget *window : QList<QWidget *>{&app->folderWindow(), &app->titleWindow(), &app->contentsWindow(),
                                            &app->preferencesWindow(), &selectWindow, &removeWindow}) {
        EXPECT_NE(QAccessible::queryAccessibleInterface(window)->text(QAccessible::Name), QString());
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(window)) {
                EXPECT_NE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), QString())
                    << window->windowTitle().toStdString() << ": " << widget->metaObject()->className();
            }
        }
    }
    const QModelIndex inBox = app->fsBrowser().folderModel()->indexOfPath(store.at("InBox"));
    const QList<FolderColumn *> columns = app->folderWindow().findChildren<FolderColumn *>();
    const auto column =
        std::find_if(columns.begin(), columns.end(), [&](auto *c) { return c->rootIndex() == inBox.parent(); });
    ASSERT_NE(column, columns.end());
    EXPECT_TRUE(WaitUntil([&] { return Said(**column, inBox.row(), 0) == QLatin1String("InBox, 1 unread"); }));
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(&app->textView())->textInterface();
    EXPECT_TRUE(text->text(0, text->characterCount()).contains(QLatin1String("body of second")));
}

} // namespace wex::test
