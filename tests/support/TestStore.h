#pragma once
// Real files in a scratch folder for tests: no mocks of the file system.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

namespace wex::test {

// A scratch folder removed when the object goes away.
class TestDir {
public:
    TestDir();
    // Absolute path of the folder, as bytes and as a string.
    QByteArray path() const;
    QString pathString() const;
    // relative joined to the folder.
    QByteArray at(const QByteArray &relative) const;
    // Writes bytes to relative (parent folders made as needed); returns the absolute path.
    QByteArray write(const QByteArray &relative, const QByteArray &bytes) const;
    QByteArray mkdir(const QByteArray &relative) const;

private:
    QTemporaryDir dir_;
};

QByteArray ReadAll(const QByteArray &path);
bool Exists(const QByteArray &path); // lstat: links count, even broken ones
// The names in a folder (hidden ones too, no "." or ".."), sorted; names filters them by wildcard patterns.
QStringList Entries(const QByteArray &folder, const QStringList &names = {});
// Sets the modification time (seconds since the epoch) of a path.
void SetMTime(const QByteArray &path, qint64 seconds);

// Sets one environment variable for the object's lifetime and restores what was there before.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QByteArray &value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

// Points HOME and XDG_CONFIG_HOME at a scratch folder for the object's lifetime and restores them afterwards.
class TempHome {
public:
    TempHome();
    const TestDir &dir() const { return dir_; }
    QByteArray home() const { return dir_.path(); }
    // Makes $HOME/Library/Preferences/WEX_Preferences with WEX_Root linking to root.
    QByteArray makeSettings(const QByteArray &root) const;

private:
    TestDir dir_;
    ScopedEnv home_, xdg_;
};

// True on the CI machine (CI=true), where every data-safety test must run.
bool OnCi();

// Sets a file-system flag (FS_IMMUTABLE_FL, FS_APPEND_FL) on a file or folder for the object's lifetime; ok() is false
// where that cannot be done (no privilege, a file system without flags).
class Pinned {
public:
    Pinned(const QByteArray &path, int flag) : path_(path), flag_(flag) { ok_ = set(true); }
    ~Pinned() { set(false); }
    bool ok() const { return ok_; }

private:
    bool set(bool on) const;
    QByteArray path_;
    int flag_;
    bool ok_ = false;
};

// Runs body in a forked child that file permissions bind: as root the child first becomes uid and gid 65534. A failure
// inside body fails the calling test. Returns false, having run nothing, when the child cannot give up root here.
bool RunUnprivileged(const std::function<void()> &body);

} // namespace wex::test

// A data-safety test that cannot run on this machine says why and skips; on CI, where it must run, it fails instead.
#define WEX_SKIP_UNLESS_CI(reason)                                                  \
    do {                                                                           \
        if (::wex::test::OnCi())                                                   \
            FAIL() << "cannot run on this CI machine: " << reason;                 \
        else                                                                       \
            GTEST_SKIP() << reason;                                                \
    } while (0)
