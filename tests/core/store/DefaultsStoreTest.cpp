#include "DefaultsStore.h"
#include "CoreTest.h"

#include <csignal>
#include <sys/resource.h>

TEST(DefaultsStore, DefaultPathFollowsAnAbsoluteXdgConfigHome)
{
    TempHome home;
    const QString inHome = QString::fromUtf8(home.home() + "/.config/wex-browser/defaults.json");
    // A relative folder would move with the working folder: it does not count.
    for (const auto &[value, path] : {std::pair<const char *, QString>{nullptr, inHome}, {"relative/config", inHome},
                                      {"/elsewhere", QStringLiteral("/elsewhere/wex-browser/defaults.json")}}) {
        value ? qputenv("XDG_CONFIG_HOME", value) : qunsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(DefaultsStore::defaultPath(), path) << (value ? value : "unset");
    }
}

TEST(DefaultsStore, TypedValuesSurviveASaveAndReload)
{
    TempHome home;
    const QString path = DefaultsStore::defaultPath(); // its folder does not exist yet
    {
        DefaultsStore store(path);
        EXPECT_FALSE(store.contains("Sort Reverse"));
        store.setBool("Sort Reverse", true);
        store.setInteger("Big", Q_INT64_C(9007199254740993)); // beyond a double's exact range
        store.setString("Sort Identifier", QStringLiteral("d\u00e4te"));
        store.setArray("Move Folder", QJsonArray{QStringLiteral("InBox"), QJsonArray{1, 2}});
        store.setString("Gone", "x");
        store.remove("Gone");
        QString error;
        ASSERT_TRUE(store.save(&error)) << error.toStdString();
    }
    DefaultsStore store(path);
    EXPECT_TRUE(store.keptAsidePath().isEmpty());
    EXPECT_EQ(store.boolForKey("Sort Reverse"), true);
    EXPECT_EQ(store.integerForKey("Big"), Q_INT64_C(9007199254740993));
    EXPECT_EQ(store.stringForKey("Sort Identifier"), QStringLiteral("d\u00e4te"));
    EXPECT_EQ(store.arrayForKey("Move Folder"), (QJsonArray{QStringLiteral("InBox"), QJsonArray{1, 2}}));
    EXPECT_FALSE(store.contains("Gone"));
    // The atomic write leaves exactly one file behind.
    EXPECT_EQ(Entries(QFile::encodeName(QFileInfo(path).absolutePath())), QStringList{"defaults.json"});
}

TEST(DefaultsStore, WrongTypesAreSkipped)
{
    TestDir dir;
    const QByteArray file = dir.write("d.json", R"({"b": "yes", "n": 1, "z": 0, "f": 2.5, "two": 2.0,
        "s": 3, "a": {"x": 1}, "t": true, "nul": null, "huge": 1e300})");
    DefaultsStore store(QString::fromUtf8(file));
    EXPECT_EQ(store.boolForKey("b"), std::nullopt);
    EXPECT_EQ(store.boolForKey("n"), true);   // numbers count: nonzero is true
    EXPECT_EQ(store.integerForKey("t"), std::nullopt);
    EXPECT_EQ(store.integerForKey("f"), std::nullopt); // a fraction is no integer
    EXPECT_EQ(store.integerForKey("two"), 2);
    EXPECT_EQ(store.integerForKey("huge"), std::nullopt);
    EXPECT_EQ(store.doubleForKey("s"), 3.0);
    EXPECT_EQ(store.stringForKey("s"), std::nullopt);
    EXPECT_EQ(store.arrayForKey("a"), std::nullopt);
    EXPECT_EQ(store.stringForKey("nul"), std::nullopt);
    EXPECT_TRUE(store.contains("nul"));
}

// Each damaged file is kept under a name of its own, even within one second; a save writes beside it.
TEST(DefaultsStore, MalformedFilesAreKeptAsideAndNeverOverwritten)
{
    TestDir dir;
    const QString path = QString::fromUtf8(dir.at("cfg/defaults.json"));
    QStringList aside;
    for (const char *bad : {"{\"Sort Reverse\": tru", "[1, 2]", "", "\xff\xfe garbage"}) {
        dir.write("cfg/defaults.json", bad);
        DefaultsStore store(path);
        EXPECT_FALSE(store.contains("Sort Reverse"));
        aside << store.keptAsidePath();
        ASSERT_FALSE(aside.last().isEmpty()) << bad;
        EXPECT_TRUE(QFileInfo(aside.last()).fileName().startsWith("defaults.json.corrupt-"));
        EXPECT_FALSE(QFile::exists(path));
        store.setBool("Sort Reverse", false);
        ASSERT_TRUE(store.save());
        EXPECT_EQ(ReadAll(QFile::encodeName(aside.last())), bad);
        EXPECT_EQ(DefaultsStore(path).boolForKey("Sort Reverse"), false);
    }
    aside.removeDuplicates();
    EXPECT_EQ(aside.size(), 4);
    EXPECT_EQ(Entries(dir.at("cfg")).size(), 5);
}

// A file that cannot be moved aside, or read at all, is no proof of damage: it is never written over.
TEST(DefaultsStore, ADamagedFileThatCannotBeMovedAsideIsNeverOverwritten)
{
    TestDir dir;
    dir.write("defaults.json/inside", "x"); // a folder where the file should be
    DefaultsStore unreadable(QString::fromUtf8(dir.at("defaults.json")));
    EXPECT_FALSE(unreadable.readError().isEmpty());
    EXPECT_TRUE(unreadable.keptAsidePath().isEmpty());
    EXPECT_FALSE(unreadable.save());
    EXPECT_EQ(Entries(dir.path()), QStringList{"defaults.json"});
    EXPECT_EQ(ReadAll(dir.at("defaults.json/inside")), "x");
    UNPRIVILEGED([] {
        TestDir dir;
        const QByteArray folder = dir.mkdir("cfg");
        const QByteArray file = dir.write("cfg/defaults.json", "{damaged");
        ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
        DefaultsStore store(QString::fromUtf8(file));
        EXPECT_TRUE(store.keptAsidePath().isEmpty());
        // Even once the folder lets it, a save must not replace the file.
        ::chmod(folder.constData(), 0755);
        store.setBool("Sort Reverse", true);
        QString error;
        EXPECT_FALSE(store.save(&error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(ReadAll(file), "{damaged");
        EXPECT_EQ(Entries(dir.at("cfg")), QStringList{"defaults.json"});
    });
}

// A save that cannot make its folder, fails part way or is not known on disk leaves what was there.
TEST(DefaultsStore, AFailedSaveLeavesTheOldFileWhole)
{
    TestDir dir;
    dir.write("file", "x");
    DefaultsStore nowhere(QString::fromUtf8(dir.at("file/sub/defaults.json")));
    EXPECT_TRUE(nowhere.keptAsidePath().isEmpty());
    EXPECT_FALSE(nowhere.contains("x"));
    nowhere.setBool("a", true);
    QString error;
    EXPECT_FALSE(nowhere.save(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadAll(dir.at("file")), QByteArray("x"));

    for (const bool unflushed : {false, true}) {
        SCOPED_TRACE(unflushed ? "unflushed" : "write fails");
        TestDir dir;
        DefaultsStore store(QString::fromUtf8(dir.at("defaults.json")));
        store.setString("Sort Identifier", "date");
        ASSERT_TRUE(store.save());
        const QByteArray old = ReadAll(dir.at("defaults.json"));
        store.setString("Big", QString(4096, QLatin1Char('x')));
        if (unflushed)
            store.setSyncForTesting([](int) { return EIO; });
        // Else a file size limit below the new text makes its write fail part way.
        struct rlimit saved;
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        struct rlimit small = saved;
        small.rlim_cur = unflushed ? saved.rlim_cur : 1024;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool ok = store.save(&error);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(ok);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(ReadAll(dir.at("defaults.json")), old);
        EXPECT_EQ(Entries(dir.path()), QStringList{"defaults.json"});
    }
}
