// The new-mail notice against a fake notification service on a private session bus that the test starts.
#include "NewMailNotice.h"
#include "TestStore.h"
#include "Wait.h"

#include <QDBusMessage>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>

namespace wex::test {
namespace {

const QString kName = QStringLiteral("org.freedesktop.Notifications"), kPath = QStringLiteral("/org/freedesktop/Notifications");

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

TEST(NewMailNotice, IsDroppedWithOneLineWithoutAServiceAndReachesOneOnlyWhenWanted)
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        WEX_SKIP_UNLESS_CI("dbus-daemon is missing (scripts/install-deps.sh installs it)");
    QProcess daemon; // the private bus
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--print-address", "--nofork"});
    const auto stop = qScopeGuard([&] { daemon.kill(); daemon.waitForFinished(); });
    ASSERT_TRUE(WaitUntil([&] { return daemon.canReadLine(); }));
    const QString address = QString::fromUtf8(daemon.readLine().trimmed());
    // Neither no bus at all nor a bus without the service breaks anything; stderr hears of it once.
    for (const QString &where : {QStringLiteral("unix:path=/nonexistent/bus"), address}) {
        testing::internal::CaptureStderr();
        NewMailNotice notice([] { return true; }, where);
        QSignalSpy answers(&notice, &NewMailNotice::answered);
        notice.announce(Arrived(1));
        notice.announce(Arrived(2));
        EXPECT_TRUE(WaitUntil([&] { return answers.count() == 2; }));
        EXPECT_EQ(answers, QList<QList<QVariant>>({{false}, {false}}));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << where.toStdString() << ": " << err;
    }
    FakeNotifications service;
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("fake"));
    ASSERT_TRUE(bus.registerObject(kPath, &service, QDBusConnection::ExportAllSlots) && bus.registerService(kName));
    bool wanted = false;
    NewMailNotice notice([&] { return wanted; }, address);
    QSignalSpy answers(&notice, &NewMailNotice::answered), activations(&notice, &NewMailNotice::activated);
    notice.announce(Arrived(2)); // switched off: nothing goes out
    wanted = true;
    for (int count : {4, 1}) {
        notice.announce(Arrived(count));
        ASSERT_TRUE(WaitUntil([&, sent = answers.count()] { return answers.count() > sent; }));
    }
    ASSERT_EQ(service.notices.size(), 2);
    const QString body = service.notices[0][2];
    EXPECT_TRUE(service.notices[0][1].contains(QLatin1String("4"))) << service.notices[0][1].toStdString();
    EXPECT_TRUE(body.contains("sender 2") && body.contains("subject 2") && !body.contains("sender 3")) << body.toStdString();
    EXPECT_EQ(service.notices[1][0], QLatin1String("7")) << "the next notice replaces the one shown";
    // Another notice's default action and this notice's other action do nothing.
    for (const auto &[id, action] : {std::pair{8u, "default"}, {7u, "other"}, {7u, "default"}})
        bus.send(QDBusMessage::createSignal(kPath, kName, QStringLiteral("ActionInvoked")) << id << QString::fromLatin1(action));
    ASSERT_TRUE(WaitUntil([&] { return !activations.isEmpty(); }));
    EXPECT_EQ(activations.count(), 1);
}

} // namespace
} // namespace wex::test

#include "NewMailNoticeTest.moc"
