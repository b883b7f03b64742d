#pragma once
// The user's preferences: typed values under literal keys, kept as JSON.
//
// The file is read once when the store is made and written atomically by
// save(). A file that cannot be parsed is moved aside (never overwritten) and
// the store starts empty. Typed getters answer nullopt when the key is absent
// or holds a value of another type, so a damaged value is skipped, not trusted.
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>

namespace wex {

class DefaultsStore {
public:
    // $XDG_CONFIG_HOME/wex-browser/defaults.json, or ~/.config/... when unset.
    static QString defaultPath();

    explicit DefaultsStore(const QString &filePath = defaultPath());

    const QString &filePath() const { return path_; }
    // Where a malformed file was moved aside at load; empty when none was.
    const QString &keptAsidePath() const { return keptAside_; }
    // Why an existing file could not be read at load (it is left untouched
    // and never overwritten); empty when it was read or there was none.
    const QString &readError() const { return readError_; }

    bool contains(const QString &key) const;
    std::optional<bool> boolForKey(const QString &key) const; // numbers count: nonzero is true
    std::optional<qint64> integerForKey(const QString &key) const;
    std::optional<double> doubleForKey(const QString &key) const;
    std::optional<QString> stringForKey(const QString &key) const;
    std::optional<QJsonArray> arrayForKey(const QString &key) const;

    void setBool(const QString &key, bool value);
    void setInteger(const QString &key, qint64 value);
    void setDouble(const QString &key, double value);
    void setString(const QString &key, const QString &value);
    void setArray(const QString &key, const QJsonArray &value);
    void remove(const QString &key);

    // Writes the whole store atomically (the folder is created when missing);
    // the old file stays unless the new one is known to be on disk.
    bool save(QString *error = nullptr) const;
    // Replaces the flush of the new file's data (0 or an errno value).
    void setSyncForTesting(std::function<int(int fd)> sync) { sync_ = std::move(sync); }

private:
    QString path_;
    QString keptAside_;
    QString readError_;
    std::function<int(int fd)> sync_;
    // A damaged file that could not be moved aside: save() must not replace it.
    bool blocked_ = false;
    QJsonObject values_;
};

} // namespace wex
