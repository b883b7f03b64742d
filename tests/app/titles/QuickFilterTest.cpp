// The quick filter in the assembled program: typed words narrow the list,
// commands reach shown rows only, another folder clears the words.
#include "AppController.h"
#include "AppFixture.h"
#include "MenuController.h"
#include "QuickFilterField.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableView>

namespace wex::test {

class QuickFilterTest : public AppFixture {
protected:
    QLineEdit &field() const { return *app->titleWindow().findChild<QLineEdit *>(QStringLiteral("filterField")); }
    QString countShown() const
    {
        for (const QLabel *label : app->titleWindow().statusBar()->findChildren<QLabel *>())
            if (label->isVisible() && label->text().contains(QLatin1String(" of ")))
                return label->text();
        return QString();
    }
};

TEST_F(QuickFilterTest, NarrowsAsTypedAndCommandsReachOnlyTheRowsShown)
{
    store.write("InBox/4.ygm", QStringLiteral("From: 佐藤花子\nSubject: テストの結果\nDate: Tue, 8 Dec 2026 10:00:00 +0900\n"
                                              "\nX-WEX-CharSet: UTF8\nbody\n").toUtf8());
    start();
    app->titleWindow().show();
    app->quickFilter().focusFilter();
    field().insert(QStringLiteral("ﾃｽﾄ"));
    EXPECT_EQ(subjects(), QStringList{QStringLiteral("テストの結果")});
    EXPECT_EQ(countShown(), QStringLiteral("1 of 4 mails"));

    field().clear();
    QTest::keyClicks(&field(), QStringLiteral("cond")); // "n" is bound, yet typed into the field
    EXPECT_EQ(field().text(), QStringLiteral("cond"));
    EXPECT_EQ(subjects(), QStringList{QStringLiteral("second")});
    QTest::keyClick(&field(), Qt::Key_Escape);
    EXPECT_TRUE(field().text().isEmpty());
    EXPECT_EQ(app->titleWindow().focusWidget(), &app->mailTable());
    EXPECT_EQ(titles().count(), 4);

    field().setText(QStringLiteral("T")); // first, third
    app->mailTable().selectAll();
    WhenModal<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
    app->menuController().action(QStringLiteral("deleteMail"))->trigger();
    for (const char *gone : {"InBox/1.mail", "InBox/3.ygm", "InBox/3.mail"})
        EXPECT_FALSE(QFileInfo::exists(store.at(gone))) << gone;
    EXPECT_TRUE(QFileInfo::exists(store.at("InBox/2.mail"))) << "hidden rows are never acted on";
    EXPECT_TRUE(QFileInfo::exists(store.at("InBox/4.ygm")));
    EXPECT_EQ(countShown(), QStringLiteral("0 of 2 mails"));

    field().setText(QStringLiteral("sec"));
    ASSERT_TRUE(LoadTitlesNow(titles(), store.at("InBox"), true)); // the same folder again keeps the words
    EXPECT_EQ(subjects(), QStringList{QStringLiteral("second")});
    store.mkdir("Other");
    WriteMail(store, "Other/1.mail", QStringLiteral("d"), QStringLiteral("elsewhere"), 9);
    app->appController().showFolder(store.at("Other"));
    ASSERT_TRUE(WaitForTitles(titles()));
    EXPECT_TRUE(field().text().isEmpty());
    EXPECT_EQ(subjects(), QStringList{QStringLiteral("elsewhere")});
    EXPECT_TRUE(countShown().isEmpty());
}

} // namespace wex::test
