#include "TestStore.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wex::test {

namespace {

// mkdir -p on the bytes: names need not be valid in any encoding.
void MakePath(const QByteArray &full)
{
    for (qsizetype slash = full.indexOf('/', 1); ; slash = full.indexOf('/', slash + 1)) {
        ::mkdir((slash < 0 ? full : full.left(slash)).constData(), 0755);
        if (slash < 0)
            return;
    }
}

} // namespace

TestDir::TestDir() { EXPECT_TRUE(dir_.isValid()); }

QByteArray TestDir::path() const { return QFile::encodeName(dir_.path()); }
QString TestDir::pathString() const { return dir_.path(); }
QByteArray TestDir::at(const QByteArray &relative) const { return path() + '/' + relative; }

QByteArray TestDir::write(const QByteArray &relative, const QByteArray &bytes) const
{
    const QByteArray full = at(relative);
    MakePath(full.left(full.lastIndexOf('/')));
    std::ofstream file(full.constData(), std::ios::binary);
    EXPECT_TRUE(file.write(bytes.constData(), bytes.size()).flush().good()) << full.constData();
    return full;
}

QByteArray TestDir::mkdir(const QByteArray &relative) const
{
    const QByteArray full = at(relative);
    MakePath(full);
    return full;
}

QByteArray ReadAll(const QByteArray &path)
{
    std::ifstream file(path.constData(), std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(file), {}));
}

bool Exists(const QByteArray &path)
{
    struct stat st;
    return lstat(path.constData(), &st) == 0;
}

QStringList Entries(const QByteArray &folder, const QStringList &names)
{
    return QDir(QFile::decodeName(folder))
        .entryList(names, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void SetMTime(const QByteArray &path, qint64 seconds)
{
    struct timeval tv[2] = {{time_t(seconds), 0}, {time_t(seconds), 0}};
    EXPECT_EQ(utimes(path.constData(), tv), 0);
}

ScopedEnv::ScopedEnv(const char *name, const QByteArray &value)
    : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) { qputenv(name, value); }

ScopedEnv::~ScopedEnv()
{
    if (had_)
        qputenv(name_, old_);
    else
        qunsetenv(name_);
}

TempHome::TempHome() : home_("HOME", dir_.path()), xdg_("XDG_CONFIG_HOME", dir_.at(".config")) {}

QByteArray TempHome::makeSettings(const QByteArray &root) const
{
    const QByteArray settings = dir_.mkdir("Library/Preferences/WEX_Preferences");
    const QByteArray link = settings + "/WEX_Root";
    EXPECT_EQ(symlink(root.constData(), link.constData()), 0);
    return settings;
}

bool OnCi() { return qgetenv("CI") == "true"; }

bool RunUnprivileged(const std::function<void()> &body)
{
    constexpr int kCannotDrop = 77;
    std::fflush(nullptr); // nothing buffered is written twice
    const pid_t pid = ::fork();
    if (pid < 0) {
        ADD_FAILURE() << "fork failed";
        return true;
    }
    if (pid == 0) {
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(kCannotDrop);
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotDrop)
        return false;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the unprivileged check failed (see above)";
    return true;
}

bool Pinned::set(bool on) const
{
    const int fd = ::open(path_.constData(), O_RDONLY | O_NONBLOCK);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | flag_ : flags & ~flag_;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return done;
}

} // namespace wex::test
