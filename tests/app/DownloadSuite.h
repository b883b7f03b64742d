#pragma once
// A fake suite for download tests: a folder of fake programs first on PATH
// and WEX_SUITE pointing at a scratch suite folder. `java` and `nice` log
// their arguments and return at once (`sleep` too); `ps` prints the file
// "ps-output", so a test decides which of the suite's programs seem to run
// (running(), gone()). Made with withPrograms false, PATH holds only `ps`
// and `grep`: the downloader cannot start.
#include "TestStore.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

namespace wex::test {

class DownloadSuite {
public:
    explicit DownloadSuite(bool withPrograms = true)
        : path_("PATH", withPrograms ? bin() + ":" + qgetenv("PATH") : bin()),
          suite_("WEX_SUITE", dir_.path() + "/my suite")
    {
        dir_.mkdir("my suite");
        dir_.mkdir("bin");
        script("ps", "cat '%DIR%/ps-output' 2>/dev/null\nexit 0\n");
        if (withPrograms) {
            script("nice", "echo \"nice $*\" >> '%LOG%'\nexec \"$@\"\n");
            script("java", "echo \"java $*\" >> '%LOG%'\n");
            script("sleep", "exit 0\n");
        } else {
            const QString grep = QStandardPaths::findExecutable(QStringLiteral("grep"));
            ::symlink(grep.toLocal8Bit().constData(), (bin() + "/grep").constData());
        }
    }
    QByteArray bin() const { return dir_.path() + "/bin"; }
    QByteArray suite() const { return dir_.path() + "/my suite"; }

    // `ps` lists a process with this command line.
    void running(const QByteArray &commandLine) const
    {
        dir_.write("ps-output", "  4242 ?        SN     0:01 " + commandLine + "\n");
    }
    void gone() const { dir_.write("ps-output", QByteArray()); }

    // The lines the fake programs logged that hold a text (the downloader's
    // "WEX_Fetch" by default).
    QList<QByteArray> log(const QByteArray &holding = "WEX_Fetch") const
    {
        if (!Exists(dir_.at("log")))
            return {};
        QList<QByteArray> lines;
        for (const QByteArray &line : ReadAll(dir_.at("log")).split('\n'))
            if (line.contains(holding))
                lines.append(line);
        return lines;
    }
    QList<QByteArray> waitForLog(qsizetype n) const
    {
        QDeadlineTimer deadline(5000);
        while (log().size() < n && !deadline.hasExpired())
            QTest::qWait(10);
        return log();
    }

private:
    void script(const QByteArray &name, QByteArray body) const
    {
        body.replace("%LOG%", dir_.at("log")).replace("%DIR%", dir_.path());
        const QByteArray path = dir_.write("bin/" + name, "#!/bin/sh\n" + body);
        ::chmod(path.constData(), 0755);
    }

    TestDir dir_;
    ScopedEnv path_, suite_;
};

} // namespace wex::test
