// What a screen reader hears, through Qt's accessibility interfaces, and
// whether the states read under light, dark and high-contrast palettes.
#include "AppFixture.h"
#include "BrowserTextView.h"
#include "FolderModel.h"
#include "KeyWindow.h"
#include "PreferencesWindow.h"
#include "RemoveDestinationDialog.h"
#include "SelectCommandWindow.h"
#include "TitleDisplayModel.h"
#include "TitleTableModel.h"

#include <QAccessible>
#include <QListView>
#include <QMainWindow>
#include <cmath>

namespace wex::test {
namespace {

QAccessibleInterface *Cell(QAbstractItemView &view, int row, int column)
{
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(&view);
    return table && table->tableInterface() ? table->tableInterface()->cellAt(row, column) : nullptr;
}

Title MakeTitle(void (Title::*flag)(bool), void (Title::*second)(bool) = nullptr)
{
    Title t;
    t.setFrom(QStringLiteral("Sato Hanako"));
    t.setSubject(QStringLiteral("Photos from Kyoto"));
    t.setDate(MailDate::fromFields(2026, 12, 6, 23, 27, 0, 9 * 3600));
    if (flag)
        (t.*flag)(true);
    if (second)
        (t.*second)(true);
    return t;
}

// The WCAG contrast ratio, worked out here apart from the code under test.
double Contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

struct Rows {
    TitleTableModel titles;
    TitleDisplayModel display{&titles};
    QTableView view;
    explicit Rows(TitleArray array)
    {
        titles.setTitles(std::move(array));
        view.setModel(&display);
    }
};

} // namespace

TEST(Accessibility, EachRowReadsAsOneSentence)
{
    Rows rows({MakeTitle(&Title::setUnreadState, &Title::setArchiveState), MakeTitle(nullptr),
               MakeTitle(&Title::setReplyState), MakeTitle(&Title::setSendState)});
    const QString date = rows.display.index(0, TitleTableModel::DateColumn).data().toString();
    ASSERT_FALSE(date.isEmpty());
    const QString expected[] = {
        QStringLiteral("unread, from Sato Hanako, Photos from Kyoto, %1, with attachments").arg(date),
        QStringLiteral("read, from Sato Hanako, Photos from Kyoto, %1").arg(date),
        QStringLiteral("read, replied, from Sato Hanako, Photos from Kyoto, %1").arg(date),
        QStringLiteral("waiting to be sent, to Sato Hanako, Photos from Kyoto, %1").arg(date),
    };
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < TitleTableModel::ColumnCount; ++column) {
            QAccessibleInterface *cell = Cell(rows.view, row, column);
            ASSERT_TRUE(cell) << row << "," << column;
            EXPECT_EQ(cell->text(QAccessible::Description), expected[row]) << row << "," << column;
        }
    // The state cell says its letters in words; the others say what they show.
    EXPECT_EQ(Cell(rows.view, 0, TitleTableModel::StateColumn)->text(QAccessible::Name),
              QStringLiteral("unread, with attachments"));
    EXPECT_EQ(Cell(rows.view, 0, TitleTableModel::DateColumn)->text(QAccessible::Name), date);
}

TEST(Accessibility, FoldersTellTheirUnreadCounts)
{
    TestDir dir;
    WriteMail(dir, "InBox/1.ygm", QStringLiteral("a"), QStringLiteral("one"), 1);
    WriteMail(dir, "InBox/2.ygm", QStringLiteral("b"), QStringLiteral("two"), 2);
    WriteMail(dir, "Draft/3.mail", QStringLiteral("c"), QStringLiteral("three"), 3);
    dir.mkdir("Empty");
    FolderModel model(dir.path());
    model.folderCounts().setGatherInterval(0);
    model.listFolder(QModelIndex());
    QListView view;
    view.setModel(&model);
    const auto said = [&](const char *name) {
        QAccessibleInterface *cell = Cell(view, model.indexOfPath(dir.at(name)).row(), 0);
        return cell ? cell->text(QAccessible::Name) : QString();
    };
    ASSERT_TRUE(WaitUntil([&] { return said("InBox") == QLatin1String("InBox, 2 unread"); })) << said("InBox").toStdString();
    EXPECT_EQ(said("Draft"), QStringLiteral("Draft, no unread mail"));
    EXPECT_EQ(said("Empty"), QStringLiteral("Empty"));
}

TEST(Accessibility, StatesReadOnLightDarkAndHighContrastPalettes)
{
    const QPalette original = QGuiApplication::palette();
    const auto palette = [&](QColor base, QColor alternate, QColor text) {
        QPalette p = original; // the link colour stays the platform's own blue
        p.setColor(QPalette::Base, base);
        p.setColor(QPalette::AlternateBase, alternate);
        p.setColor(QPalette::Text, text);
        return p;
    };
    const QPalette palettes[] = {palette(Qt::white, QColor(0xf5, 0xf5, 0xf5), Qt::black),
                                 palette(QColor(0x1e, 0x1e, 0x1e), QColor(0x2a, 0x2a, 0x2a), QColor(0xe6, 0xe6, 0xe6)),
                                 palette(Qt::black, Qt::black, Qt::white)};
    Rows rows({MakeTitle(nullptr), MakeTitle(&Title::setUnreadState), MakeTitle(&Title::setErrorState),
               MakeTitle(&Title::setUnreadState, &Title::setErrorState)});
    for (const QPalette &p : palettes) {
        QApplication::setPalette(p);
        const QPalette shown = QGuiApplication::palette();
        for (int row = 0; row < 4; ++row) {
            const QVariant colour = rows.display.index(row, TitleTableModel::StateColumn).data(Qt::ForegroundRole);
            const QColor text = colour.isValid() ? colour.value<QColor>() : shown.color(QPalette::Text);
            for (const QPalette::ColorRole base : {QPalette::Base, QPalette::AlternateBase})
                EXPECT_GE(Contrast(text, shown.color(base)), 4.5)
                    << "row " << row << " " << text.name().toStdString() << " on " << shown.color(base).name().toStdString();
        }
    }
    QApplication::setPalette(original);
}

using AccessibleWindowsTest = AppFixture;

// Every window has a name, every control Tab can reach is named, and the mail
// text is offered as text.
TEST_F(AccessibleWindowsTest, EveryControlIsNamed)
{
    start();
    KeyWindow keyWindow;
    SelectCommandWindow selectWindow;
    RemoveDestinationDialog removeWindow;
    const QList<QWidget *> windows = {&app->folderWindow(), &app->titleWindow(), &app->contentsWindow(),
                                      &app->preferencesWindow(), &keyWindow, &selectWindow, &removeWindow};
    for (QWidget *window : windows) {
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(window)->text(QAccessible::Name).isEmpty())
            << window->metaObject()->className();
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(window))
                continue;
            EXPECT_FALSE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty())
                << window->windowTitle().toStdString() << ": " << widget->metaObject()->className() << " "
                << widget->objectName().toStdString();
        }
    }
    QAccessibleInterface *text = QAccessible::queryAccessibleInterface(&app->textView());
    ASSERT_TRUE(text->textInterface());
    EXPECT_TRUE(text->textInterface()->text(0, text->textInterface()->characterCount()).contains(QLatin1String("body of second")));
}

} // namespace wex::test
