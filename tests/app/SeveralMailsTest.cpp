// Commands on several mails at once act on exactly the mails the user chose: a mail changed by another program
// under its row is told, and no other mail is touched.
#include "AppController.h"
#include "AppFixture.h"
#include "MailMoves.h"
#include "MenuController.h"
#include "MoveDestinations.h"

#include <QMessageBox>
#include <QStatusBar>

namespace wex::test {
namespace {

using SeveralMailsTest = AppFixture;

// Another program renamed one selected mail and removed another while their
// rows were shown: a move and a delete then say so and touch no other mail.
TEST_F(SeveralMailsTest, MailsChangedUnderTheirRowsAreToldAndNoOtherIsTouched)
{
    store.mkdir("Archive");
    for (int i = 0; i < 4; ++i) // the application starts on m0, so no other mail is read
        WriteMail(store, "Box/" + QByteArray::number(i) + ".mail", QStringLiteral("x"), QStringLiteral("m%1").arg(i), i + 1);
    start([&](Assembly &a) { a.appController().setStartPath(store.at("Box/0.mail")); });
    app->moveDestinations().addFolder(store.pathString() + QStringLiteral("/Archive"));
    const QByteArray others[] = {ReadAll(store.at("Box/0.mail")), ReadAll(store.at("Box/3.mail"))};
    SelectRows(app->mailTable(), {1, 2});
    ASSERT_EQ(::rename(store.at("Box/1.mail").constData(), store.at("Box/1.rply").constData()), 0);
    ASSERT_EQ(::unlink(store.at("Box/2.mail").constData()), 0);
    app->moveDestinations().moveMailTo(0);
    ASSERT_TRUE(WaitUntil([&] { return !app->mailMoves().isMoving(); })); // steps of a time budget
    EXPECT_FALSE(app->mailMoves().lastMessage().isEmpty());
    SelectRows(app->mailTable(), {1, 2});
    WhenModal<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
    app->menuController().action(QStringLiteral("deleteMail"))->trigger();
    EXPECT_FALSE(app->titleWindow().statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(ReadAll(store.at("Box/0.mail")), others[0]);
    EXPECT_EQ(ReadAll(store.at("Box/3.mail")), others[1]);
    EXPECT_TRUE(Exists(store.at("Box/1.rply")) || Exists(store.at("Archive/1.rply")));
    EXPECT_EQ(Entries(store.at("Archive")).size(), Exists(store.at("Archive/1.rply")) ? 1 : 0);
}

} // namespace
} // namespace wex::test
