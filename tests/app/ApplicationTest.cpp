// The whole application as the Assembly builds it: start-up, a key through every layer, termination and the
// preferences, the Japanese interface, and the real binary's exit paths as a child process.
#include "AppController.h"
#include "AppFixture.h"
#include "FSBrowser.h"
#include "MailContents.h"
#include "MailMoves.h"
#include "MenuController.h"
#include "MoveDestinations.h"
#include "NewMailNotice.h"
#include "TitleTableModel.h"
#include "Translations.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <csignal>

namespace wex::test {
namespace {

using ApplicationTest = AppFixture;

// Without a path the InBox's first unread mail is shown (and read), no other; a mail asked for is shown instead;
// a folder is opened and titled as a click opens it; a path that opens nothing falls back to the InBox and says why;
// the new-mail notice, activated, shows the InBox.
TEST_F(ApplicationTest, StartUpOpensTheInBoxOrTheStartPathOrSaysWhyNot)
{
    WriteMail(store, "Work/2.ygm", QStringLiteral("c"), QStringLiteral("first unread"), 2);
    WriteMail(store, "Work/3.ygm", QStringLiteral("d"), QStringLiteral("asked for"), 3);
    WriteMail(store, "Odd\xff/1.mail", QStringLiteral("e"), QStringLiteral("odd"), 4);
    const QByteArray missing = store.at("Work/missing.ygm");
    struct Case { QByteArray path, folder, shown, stays; QString title; } cases[] = {
        {store.at("Work/3.ygm"), store.at("Work/"), store.at("Work/3.mail"), store.at("Work/2.ygm"), "Work"},
        {missing, store.at("InBox/"), store.at("InBox/2.mail"), store.at("InBox/3.ygm"), "InBox"}, // and a word why
        {store.at("Odd\xff"), store.at("Odd\xff/"), store.at("Odd\xff/1.mail"), store.at("InBox/3.ygm"), "Odd\\xFF"},
        {{}, store.at("InBox/"), store.at("InBox/3.mail"), store.at("InBox/1.mail"), "InBox"}, // the next unread now
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        start([&](Assembly &a) { a.appController().setStartPath(c.path); });
        EXPECT_FALSE(app->folderWindow().isVisible()) << "windows are shown only after start-up";
        EXPECT_EQ(titles().folderPath(), c.folder);
        EXPECT_EQ(app->fsBrowser().path() + '/', c.folder);
        EXPECT_EQ(app->titleWindow().windowTitle(), c.title);
        EXPECT_EQ(app->mailContents().currentPathString(), c.shown);
        EXPECT_TRUE(Exists(c.stays)) << "no other mail is read";
        const QString status = app->titleWindow().statusBar()->currentMessage();
        EXPECT_EQ(status.contains(QString::fromUtf8(missing)), c.path == missing) << status.toStdString();
        EXPECT_EQ(app->titleWindow().statusBar()->toolTip(), status) << "the whole line, however narrow the window";
        app.reset();
        ResetWEXPaths();
    }
    start([&](Assembly &a) { a.appController().setStartPath(store.at("Work")); });
    emit app->newMailNotice().activated(); // the new-mail notice clicked
    EXPECT_EQ(titles().folderPath(), store.at("InBox/"));
}

// Preferences that cannot be read stay untouched, a damaged file is kept aside, a failed save at quit is told.
TEST_F(ApplicationTest, PreferencesTroubleIsAlwaysTold)
{
    const QString path = DefaultsStore::defaultPath();
    ASSERT_TRUE(QDir().mkpath(path)); // a folder where the file should be
    start();
    QString status = app->titleWindow().statusBar()->currentMessage();
    EXPECT_TRUE(status.contains(path)) << status.toStdString();
    app->showWindows();
    QString told;
    WhenModal<QMessageBox>([&](QMessageBox *box) { told = box->text(), box->accept(); });
    app->terminate();
    EXPECT_TRUE(told.contains(path)) << told.toStdString();
    EXPECT_TRUE(QFileInfo(path).isDir()) << "left as it is";

    app.reset();
    ResetWEXPaths();
    ASSERT_TRUE(QDir(path).removeRecursively());
    store.write("damaged", "{damaged");
    ASSERT_TRUE(QFile::copy(QFile::decodeName(store.at("damaged")), path));
    start();
    status = app->titleWindow().statusBar()->currentMessage();
    EXPECT_TRUE(status.contains(path + QStringLiteral(".corrupt-"))) << status.toStdString();
}

// One key, end to end: menu shortcut, destination list, safe move, the row gone and the next mail shown.
TEST_F(ApplicationTest, CtrlOneMovesTheSelectedMailAndShowsTheNextWhichDeleteTakes)
{
    store.mkdir("Archive");
    start();
    app->showWindows();
    app->moveDestinations().addFolder(store.pathString() + QStringLiteral("/Archive"));
    titles().selectAndShow(0);
    QApplication::setActiveWindow(&app->titleWindow());
    app->mailTable().setFocus();
    QTest::keyClick(&app->mailTable(), Qt::Key_1, Qt::ControlModifier);
    ASSERT_TRUE(WaitUntil([&] { return !app->mailMoves().isMoving() && titles().count() == 2; }));
    EXPECT_TRUE(Exists(store.at("Archive/1.mail")));
    EXPECT_FALSE(Exists(store.at("InBox/1.mail")));
    EXPECT_EQ(subjects(), (QStringList{QStringLiteral("second"), QStringLiteral("third")}));
    EXPECT_EQ(app->mailContents().currentPathString(), store.at("InBox/2.mail"));
    WhenModal<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
    app->menuController().action(QStringLiteral("deleteMail"))->trigger();
    EXPECT_EQ(subjects(), (QStringList{QStringLiteral("third")})) << "the menu's Delete took the mail on show";
}

TEST_F(ApplicationTest, PreferencesSurviveTerminationAndANewStart)
{
    start();
    emit app->mailTable().horizontalHeader()->sectionClicked(TitleTableModel::DateColumn);
    app->menuController().action(QStringLiteral("sortFolderByModDate"))->trigger();
    app->terminate();
    app.reset();
    EXPECT_TRUE(DefaultsStore(DefaultsStore::defaultPath()).contains(QStringLiteral("Key Bind")));
    ResetWEXPaths();
    FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
    start();
    EXPECT_EQ(FSNodeInfo::sortFolderTag(), QStringLiteral("modDate"));
    EXPECT_EQ(subjects().first(), QStringLiteral("third")) << "newest first";
}

bool Japanese(const QString &text) { return text.contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{9fff}]"))); }

// The catalogue is installed before the windows are made; folder names and the sort key stay as they are.
TEST_F(ApplicationTest, UnderAJapaneseLocaleMenusTitlesAndHeadersAreJapanese)
{
    ASSERT_EQ(InstallTranslations(QLocale(QStringLiteral("ja_JP"))), QStringLiteral("ja"));
    const auto untranslate = qScopeGuard([this] {
        app.reset();
        RemoveTranslations();
    });
    start();
    for (QAction *menu : app->contentsWindow().menuBar()->actions()) {
        EXPECT_TRUE(Japanese(menu->text())) << menu->text().toStdString();
        for (QAction *item : menu->menu()->actions())
            EXPECT_TRUE(item->isSeparator() || Japanese(item->text())) << item->text().toStdString();
    }
    EXPECT_TRUE(Japanese(app->folderWindow().windowTitle()));
    EXPECT_EQ(app->titleWindow().windowTitle(), QStringLiteral("InBox")) << "a folder's name is not translated";
    EXPECT_TRUE(Japanese(titles().model()->headerData(3, Qt::Horizontal).toString()));
    EXPECT_EQ(titles().identifier(), QStringLiteral("date")) << "the sort key stays the English identifier";
    titles().unreadMailTitles();
    EXPECT_TRUE(Japanese(app->titleWindow().windowTitle()));
}

// The real binary, as a child process with its own home.
class BinaryTest : public AppFixture {
protected:
    void SetUp() override
    {
        binary = qEnvironmentVariable("WEX_BINARY");
        if (binary.isEmpty())
            GTEST_SKIP() << "WEX_BINARY is not set";
    }
    // The fixture's home and the offscreen platform are the process's own already.
    QProcessEnvironment environment(const char *lang = "C") const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(lang));
        return env;
    }
    // The program's own lines on stderr.
    static QStringList OwnLines(const QByteArray &err)
    {
        return QString::fromUtf8(err).split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(QStringLiteral("wex-browser: "));
    }
    QString binary;
};

// True once the process catches the signal (its handler is installed), as /proc tells.
bool Catches(qint64 pid, int sig)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    const QByteArray all = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = all.indexOf("\nSigCgt:") + 8;
    return at >= 8 && (all.mid(at, all.indexOf('\n', at) - at).trimmed().toULongLong(nullptr, 16) >> (sig - 1)) & 1;
}

TEST_F(BinaryTest, WithoutSettingsItExitsWith255AndNamesTheFolders)
{
    QDir(QFile::decodeName(home.home() + "/Library")).removeRecursively();
    QProcess child;
    child.setProcessEnvironment(environment());
    child.start(binary, {});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 255);
    const QStringList ours = OwnLines(child.readAllStandardError());
    ASSERT_EQ(ours.size(), 1);
    EXPECT_TRUE(ours[0].contains(home.dir().pathString() + QStringLiteral("/Library/Preferences/WEX_Preferences.localized")));
    EXPECT_FALSE(QFile::exists(DefaultsStore::defaultPath()));
}

// The first run opens a path that opens nothing: it says so once, in the user's language from the start.
TEST_F(BinaryTest, EndingSignalsQuitThroughTerminationAndWriteThePreferences)
{
    const QString prefs = DefaultsStore::defaultPath();
    const QString missing = store.pathString() + QStringLiteral("/Work/missing.ygm");
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(sig);
        QFile::remove(prefs);
        QProcess child;
        child.setProcessEnvironment(environment(sig == SIGTERM ? "ja_JP.UTF-8" : "C"));
        child.start(binary, sig == SIGTERM ? QStringList{missing} : QStringList{});
        ASSERT_TRUE(child.waitForStarted(10000));
        ASSERT_TRUE(WaitUntil([&] { return Catches(child.processId(), sig); }));
        ::kill(pid_t(child.processId()), sig);
        ASSERT_TRUE(child.waitForFinished(20000));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
        EXPECT_TRUE(DefaultsStore(prefs).contains(QStringLiteral("Column Width Subject")));
        const QStringList ours = OwnLines(child.readAllStandardError());
        ASSERT_EQ(ours.size(), sig == SIGTERM ? 1 : 0) << ours.join('\n').toStdString();
        EXPECT_TRUE(sig != SIGTERM || (ours[0].contains(missing) && Japanese(ours[0]))) << ours.value(0).toStdString();
    }
}

} // namespace
} // namespace wex::test
