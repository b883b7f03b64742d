// The user's preferences as one JSON object in one file.
//
// A file that exists but cannot be parsed is never overwritten: it is moved
// aside under a new name that takes nothing else's place, and the store starts
// empty. If even that fails, save() refuses to write over it. A file that
// cannot be read at all (an I/O error, no permission) is no proof of damage:
// it stays where it is, the store starts empty for this run, and save()
// refuses to write over it.
#include "DefaultsStore.h"

#include "SafeMove.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace wex {

QString DefaultsStore::defaultPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // XDG_CONFIG_HOME counts only when it is an absolute path.
    if (base.isEmpty() || !base.startsWith(QLatin1Char('/')))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/wex-browser/defaults.json");
}

DefaultsStore::DefaultsStore(const QString &filePath)
    : path_(filePath)
{
    QFile file(path_);
    if (!file.exists())
        return;
    QJsonParseError parseError{};
    QJsonDocument doc;
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        readError_ = file.errorString();
        blocked_ = true;
        return;
    }
    file.close();
    doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error == QJsonParseError::NoError && doc.isObject()) {
        values_ = doc.object();
        return;
    }

    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const QString first = path_ + QStringLiteral(".corrupt-") + stamp;
    for (int n = 0; n < 1000; ++n) {
        const QString candidate = n == 0 ? first : first + QLatin1Char('-') + QString::number(n);
        const MoveOutcome moved = SafeMove(QFile::encodeName(path_), QFile::encodeName(candidate));
        if (moved.status == MoveOutcome::DestinationExists)
            continue;
        if (moved.ok())
            keptAside_ = candidate;
        break;
    }
    if (keptAside_.isEmpty())
        blocked_ = true;
}

bool DefaultsStore::contains(const QString &key) const { return values_.contains(key); }

std::optional<bool> DefaultsStore::boolForKey(const QString &key) const
{
    const QJsonValue v = values_.value(key);
    if (v.isBool())
        return v.toBool();
    if (v.isDouble())
        return v.toDouble() != 0.0;
    return std::nullopt;
}

std::optional<qint64> DefaultsStore::integerForKey(const QString &key) const
{
    const QJsonValue v = values_.value(key);
    if (!v.isDouble())
        return std::nullopt;
    // toInteger() answers the default for fractions and out-of-range values;
    // two different defaults tell such a value from a real one.
    const qint64 a = v.toInteger(0), b = v.toInteger(1);
    if (a != b)
        return std::nullopt;
    return a;
}

std::optional<double> DefaultsStore::doubleForKey(const QString &key) const
{
    const QJsonValue v = values_.value(key);
    return v.isDouble() ? std::optional<double>(v.toDouble()) : std::nullopt;
}

std::optional<QString> DefaultsStore::stringForKey(const QString &key) const
{
    const QJsonValue v = values_.value(key);
    return v.isString() ? std::optional<QString>(v.toString()) : std::nullopt;
}

std::optional<QJsonArray> DefaultsStore::arrayForKey(const QString &key) const
{
    const QJsonValue v = values_.value(key);
    return v.isArray() ? std::optional<QJsonArray>(v.toArray()) : std::nullopt;
}

void DefaultsStore::setBool(const QString &key, bool value) { values_.insert(key, value); }
void DefaultsStore::setInteger(const QString &key, qint64 value) { values_.insert(key, value); }
void DefaultsStore::setDouble(const QString &key, double value) { values_.insert(key, value); }
void DefaultsStore::setString(const QString &key, const QString &value) { values_.insert(key, value); }
void DefaultsStore::setArray(const QString &key, const QJsonArray &value) { values_.insert(key, value); }
void DefaultsStore::remove(const QString &key) { values_.remove(key); }

bool DefaultsStore::save(QString *error) const
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (blocked_)
        return fail(QStringLiteral("Will not overwrite the unreadable preferences file \"%1\"").arg(path_));
    const auto syncData = sync_ ? sync_ : [](int fd) { return ::fsync(fd) == 0 ? 0 : errno; };
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("Cannot create the folder \"%1\"").arg(folder));
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = QJsonDocument(values_).toJson(QJsonDocument::Indented);
    // Without commit() the temporary file is dropped and the old file stays.
    // commit() does not notice a buffered write that fails when it is
    // flushed, so the flush is checked here.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return fail(file.errorString());
    // commit() flushes to disk but does not say whether that worked: the new
    // text replaces the old only once it is known to be on disk.
    if (const int error = syncData(file.handle())) {
        file.cancelWriting();
        return fail(QString::fromLocal8Bit(std::strerror(error)));
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace wex
