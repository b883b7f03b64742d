// The new-mail notice against a fake notification service on a private session bus that the test starts.
#include "NewMailNotice.h"
#include "TestStore.h"
#include "Wait.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>

namespace wex::test {
namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<QStringList> notices; // each: the id it replaces, summary, body
public slots:
    uint Notify(const QString &, uint replaces, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        notices.append({QString::number(replaces), summary, body});
        return 7;
    }
};

TitleArray Arrived(int n)
{
    TitleArray titles(n);
    for (int i = 0; i < n; ++i) {
        titles[i].setFrom(QStringLiteral("sender %1").arg(i));
        titles[i].setSubject(QStringLiteral("subject %1").arg(i));
    }
    return titles;
}

class NewMailNoticeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            WEX_SKIP_UNLESS_CI("dbus-daemon is missing (scripts/install-deps.sh installs it)");
        daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--print-address", "--nofork"});
        ASSERT_TRUE(WaitUntil([&] { return daemon.canReadLine(); }));
        address = QString::fromUtf8(daemon.readLine().trimmed());
    }
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("fake"));
        daemon.kill();
        daemon.waitForFinished();
    }
    QProcess daemon;
    QString address;
};

TEST_F(NewMailNoticeTest, TheServiceGetsHowManyAndTheFirstThreeAndTheDefaultActionComesBack)
{
    FakeNotifications service;
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("fake"));
    ASSERT_TRUE(bus.registerObject(kPath, &service, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    bool wanted = false;
    NewMailNotice notice([&] { return wanted; }, address);
    QSignalSpy answers(&notice, &NewMailNotice::answered), activations(&notice, &NewMailNotice::activated);
    notice.announce(Arrived(2)); // switched off: nothing goes out
    wanted = true;
    notice.announce(Arrived(4));
    notice.announce(Arrived(1));
    ASSERT_TRUE(WaitUntil([&] { return answers.count() == 2; }));
    ASSERT_EQ(service.notices.size(), 2);
    const QString body = service.notices[0][2];
    EXPECT_TRUE(service.notices[0][1].contains(QLatin1String("4"))) << service.notices[0][1].toStdString();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(body.contains(QStringLiteral("sender %1").arg(i)) && body.contains(QStringLiteral("subject %1").arg(i)));
    EXPECT_FALSE(body.contains(QLatin1String("sender 3"))) << body.toStdString();
    EXPECT_EQ(service.notices[1][0], QLatin1String("7")) << "the next notice replaces the one shown";
    // Another notice's default action and this notice's other action do nothing.
    for (const auto &[id, action] : {std::pair{8u, "default"}, {7u, "other"}, {7u, "default"}})
        bus.send(QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.Notifications"),
                                            QStringLiteral("ActionInvoked"))
                 << id << QString::fromLatin1(action));
    ASSERT_TRUE(WaitUntil([&] { return !activations.isEmpty(); }));
    EXPECT_EQ(activations.count(), 1);
}

// Neither a bus without the service nor no bus at all breaks anything; stderr hears of it once.
TEST_F(NewMailNoticeTest, WithoutAServiceNoticesAreDroppedWithOneLine)
{
    for (const QString &where : {address, QStringLiteral("unix:path=/nonexistent/bus")}) {
        testing::internal::CaptureStderr();
        {
            NewMailNotice notice([] { return true; }, where);
            QSignalSpy answers(&notice, &NewMailNotice::answered);
            notice.announce(Arrived(1));
            notice.announce(Arrived(2));
            EXPECT_TRUE(WaitUntil([&] { return answers.count() == 2; }));
            EXPECT_EQ(answers, QList<QList<QVariant>>({{false}, {false}}));
        }
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << where.toStdString() << ": " << err;
    }
}

} // namespace
} // namespace wex::test

#include "NewMailNoticeTest.moc"
