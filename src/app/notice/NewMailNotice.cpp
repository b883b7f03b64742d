#include "NewMailNotice.h"

#include "PathUtils.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>
#include <algorithm>
#include <cstdio>

namespace wex {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
constexpr int kNamed = 3;

// The body may be read as markup (the common services do so): the mails'
// own texts are escaped, and each stays on one line.
QString Plain(const QString &text)
{
    QString out = text.simplified();
    out.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    out.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    out.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return out;
}

QString ConnectionName(const QString &address) { return QStringLiteral("wex-notice ") + address; }

} // namespace

NewMailNotice::NewMailNotice(std::function<bool()> wanted, QString busAddress, QObject *parent)
    : QObject(parent), wanted_(std::move(wanted)), address_(std::move(busAddress))
{
}

NewMailNotice::~NewMailNotice()
{
    if (bus_ && !address_.isEmpty()) {
        bus_.reset();
        QDBusConnection::disconnectFromBus(ConnectionName(address_));
    }
}

QDBusConnection &NewMailNotice::bus()
{
    if (!bus_) {
        bus_ = address_.isEmpty() ? QDBusConnection::sessionBus()
                                  : QDBusConnection::connectToBus(address_, ConnectionName(address_));
        // Matched by the service's name: the signal reaches this object
        // from whichever program owns the name when it is sent.
        bus_->connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                      SLOT(actionInvoked(uint, QString)));
    }
    return *bus_;
}

QString NewMailNotice::summary(int count)
{
    return count == 1 ? Localize(QT_TRANSLATE_NOOP("WEX", "1 new mail"))
                      : Localize(QT_TRANSLATE_NOOP("WEX", "%1 new mails")).arg(count);
}

QString NewMailNotice::body(const TitleArray &arrived)
{
    QStringList lines;
    const int named = std::min<int>(kNamed, int(arrived.size()));
    for (int i = 0; i < named; ++i)
        lines << Localize(QT_TRANSLATE_NOOP("WEX", "%1: %2"))
                     .arg(Plain(arrived[size_t(i)].from()), Plain(arrived[size_t(i)].subject()));
    if (int(arrived.size()) > named)
        lines << Localize(QT_TRANSLATE_NOOP("WEX", "and %1 more")).arg(int(arrived.size()) - named);
    return lines.join(QLatin1Char('\n'));
}

void NewMailNotice::announce(const TitleArray &arrived)
{
    if (arrived.empty() || !wanted_())
        return;
    QDBusConnection &connection = bus();
    if (!connection.isConnected()) {
        dropped(connection.lastError());
        emit answered(false);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << QStringLiteral("WEX Browser") << lastId_ << QStringLiteral("wex-browser")
         << summary(int(arrived.size())) << body(arrived)
         << QStringList{kDefaultAction, Localize(QT_TRANSLATE_NOOP("WEX", "Show InBox"))}
         << QVariantMap{{QStringLiteral("desktop-entry"), QStringLiteral("wex-browser")},
                        {QStringLiteral("category"), QStringLiteral("email.arrived")}}
         << qint32(-1);
    auto *watcher = new QDBusPendingCallWatcher(connection.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<uint> reply = *finished;
        if (reply.isError())
            dropped(reply.error());
        else
            lastId_ = reply.value();
        emit answered(!reply.isError());
    });
}

void NewMailNotice::actionInvoked(uint id, const QString &action)
{
    if (lastId_ != 0 && id == lastId_ && action == kDefaultAction)
        emit activated();
}

void NewMailNotice::dropped(const QDBusError &error)
{
    if (toldDropped_)
        return;
    toldDropped_ = true;
    const QString text = Localize(QT_TRANSLATE_NOOP("WEX", "New mail is not announced on the desktop: no notification service (%1)"))
                             .arg(error.message().isEmpty() ? error.name() : error.message());
    std::fprintf(stderr, "wex-browser: %s\n", text.toLocal8Bit().constData());
}

} // namespace wex
