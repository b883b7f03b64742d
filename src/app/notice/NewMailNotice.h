#pragma once
// The desktop notice of newly arrived mail: one notification through the
// freedesktop notification service (org.freedesktop.Notifications, method
// Notify) on a D-Bus bus, the session bus unless told another.
//
// announce() sends one notice for the mails that arrived, when wanted() says
// so at that moment (the preference switch): a summary with how many, a body
// with the senders and subjects of the first three. Each notice replaces the
// one before it, so overlapping downloads leave one notice. Activating it
// (the service's ActionInvoked for the "default" action of the latest notice)
// emits activated().
//
// The bus is reached at the first notice, never before. When there is no
// bus, no service on it, or the service answers with an error, the notice is
// dropped: one line on stderr the first time, nothing after, nothing else
// changes.
#include "Title.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QDBusError;

namespace wex {

class NewMailNotice : public QObject {
    Q_OBJECT
public:
    // busAddress: the bus the service is on; empty: the session bus. A
    // connection of its own to another address ends with the object.
    explicit NewMailNotice(std::function<bool()> wanted, QString busAddress = QString(), QObject *parent = nullptr);
    ~NewMailNotice() override;

    // Sends the notice for arrived (newest first); nothing when empty or
    // not wanted. Returns at once: the service's answer comes later.
    void announce(const TitleArray &arrived);

    // The notice's texts for arrived mails.
    static QString summary(int count);
    static QString body(const TitleArray &arrived);

signals:
    // The service has answered a notice: shown, or not (an error).
    void answered(bool shown);
    // The user activated the latest notice.
    void activated();

private slots:
    void actionInvoked(uint id, const QString &action);

private:
    QDBusConnection &bus();
    void dropped(const QDBusError &error);

    std::function<bool()> wanted_;
    QString address_;
    std::optional<QDBusConnection> bus_;
    // The service's id of the latest notice; 0 before the first was shown.
    uint lastId_ = 0;
    bool toldDropped_ = false;
};

} // namespace wex
