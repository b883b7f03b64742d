#pragma once
// A scratch suite of fake programs for tests that start other programs.
//
// For the object's lifetime WEX_SUITE points at a scratch suite folder and
// PATH at a scratch tools folder holding silent fakes of "sleep", "ps",
// "nice" and "java", so nothing real starts. Recording fakes append one line
// to log(): their name, then each argument, separated by "|".
#include "TestStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QList>
#include <QThread>
#include <functional>
#include <sys/stat.h>

namespace wex::test {

class FakeSuite {
public:
    FakeSuite()
        : suite_("WEX_SUITE", dir_.mkdir("suite")), path_("PATH", dir_.mkdir("bin"))
    {
        for (const char *tool : {"sleep", "nice", "java"})
            addTool(tool, 0, false);
        addTool("ps", 1, false); // nothing is running
    }

    QByteArray suite() const { return dir_.at("suite"); }
    QByteArray tools() const { return dir_.at("bin"); }
    QByteArray log() const { return dir_.at("log"); }

    // A program at path that records its calls under name and exits with status.
    QByteArray writeProgram(const QByteArray &path, const QByteArray &name, int status = 0, bool record = true) const
    {
        QByteArray script = "#!/bin/sh\n";
        if (record)
            script += "n='" + name + "'\nfor a in \"$@\"; do n=\"$n|$a\"; done\necho \"$n\" >> '" + log() + "'\n";
        script += "exit " + QByteArray::number(status) + "\n";
        const QByteArray relative = path.mid(dir_.path().size() + 1);
        dir_.write(relative, script);
        ::chmod(path.constData(), 0755);
        return path;
    }
    // SuiteFolder()/appName ("WEX_Composer.app"): its executable X.app/X, or
    // X.app/Contents/MacOS/X when macLayout.
    QByteArray addApplication(const QByteArray &appName, bool macLayout = false) const
    {
        const QByteArray base = appName.endsWith(".app") ? appName.chopped(4) : appName;
        const QByteArray folder = suite() + '/' + appName;
        return writeProgram(folder + (macLayout ? "/Contents/MacOS/" : "/") + base, base);
    }
    // A program on PATH.
    QByteArray addTool(const QByteArray &name, int status = 0, bool record = true) const
    {
        return writeProgram(tools() + '/' + name, name, status, record);
    }

    QList<QByteArray> lines() const
    {
        QFile file(QFile::decodeName(log()));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QList<QByteArray> out = file.readAll().split('\n');
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }
    // The recorded lines of one program, each without its name.
    QList<QByteArray> callsOf(const QByteArray &name) const
    {
        QList<QByteArray> out;
        for (const QByteArray &line : lines())
            if (line == name || line.startsWith(name + '|'))
                out << line.mid(name.size() + 1);
        return out;
    }

private:
    TestDir dir_; // first: the variables below point into it
    ScopedEnv suite_, path_;
};

// Spins the event loop until done() holds; false when 10 s pass first.
inline bool WaitUntil(const std::function<bool()> &done)
{
    const QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

} // namespace wex::test
