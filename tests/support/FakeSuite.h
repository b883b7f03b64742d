#pragma once
// The tests' one scratch suite of fake programs, so nothing real starts.
//
// For the object's lifetime WEX_SUITE points at a scratch suite folder and PATH at a scratch tools folder only, so a
// program a test did not fake is not found. It holds the real "grep" and "cat" and these fakes: "sleep" exits at once;
// "nice" records its call and runs the rest of its arguments; "java" records its call; "ps" prints what running() wrote
// (nothing at first), so a test decides which of the suite's programs seem to run, and counts its runs (psRuns()).
// Recording programs append one line to the log: their name, then each argument, separated by "|".
//
// With Tools::ProbesOnly there are no "sleep", "nice" and "java": nothing the suite starts can run.
#include "TestStore.h"
#include "Wait.h"

#include <QFile>
#include <QList>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

namespace wex::test {

class FakeSuite {
public:
    enum class Tools { All, ProbesOnly };

    explicit FakeSuite(Tools tools = Tools::All)
        : suite_("WEX_SUITE", dir_.mkdir("my suite")),
          path_("PATH", dir_.mkdir("bin"))
    {
        for (const char *real : {"grep", "cat"}) {
            const QString found = QStandardPaths::findExecutable(QString::fromLatin1(real), {QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
            ::symlink(found.toLocal8Bit().constData(), (tools_() + '/' + real).constData());
        }
        writeProgram(tools_() + "/ps",
                     "echo >> '" + dir_.at("ps-runs") + "'\ncat '" + dir_.at("ps-output") + "' 2>/dev/null\nexit 0\n");
        if (tools == Tools::All) {
            writeProgram(tools_() + "/sleep", "exit 0\n");
            addTool("java");
            writeProgram(tools_() + "/nice", recorder("nice") + "exec \"$@\"\n");
        }
    }

    QByteArray suite() const { return dir_.at("my suite"); }

    // A recording program on PATH that exits with status.
    QByteArray addTool(const QByteArray &name, int status = 0) const
    {
        return writeProgram(tools_() + '/' + name, recorder(name) + "exit " + QByteArray::number(status) + "\n");
    }
    // suite()/appName ("WEX_Composer.app"): a recording executable X.app/X.
    QByteArray addApplication(const QByteArray &appName) const
    {
        const QByteArray base = appName.chopped(4);
        return writeProgram(suite() + '/' + appName + '/' + base, recorder(base) + "exit 0\n");
    }

    // "ps" lists a process with this command line from now on; gone() lists none.
    void running(const QByteArray &commandLine) const
    {
        dir_.write("ps-output", "  4242 ?        SN     0:01 " + commandLine + "\n");
    }
    void gone() const { dir_.write("ps-output", QByteArray()); }
    qsizetype psRuns() const { return ReadAll(dir_.at("ps-runs")).size(); }

    QList<QByteArray> lines() const
    {
        QFile file(QFile::decodeName(dir_.at("log")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QList<QByteArray> out = file.readAll().split('\n');
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }
    // The recorded calls of one program, each without its name.
    QList<QByteArray> callsOf(const QByteArray &name) const
    {
        QList<QByteArray> out;
        for (const QByteArray &line : lines())
            if (line == name || line.startsWith(name + '|'))
                out << line.mid(name.size() + 1);
        return out;
    }
    // The recorded lines holding a text (the downloader's class by default).
    QList<QByteArray> linesHolding(const QByteArray &text = "WEX_Fetch") const
    {
        QList<QByteArray> out;
        for (const QByteArray &line : lines())
            if (line.contains(text))
                out << line;
        return out;
    }
    // Waits until at least n lines hold the text.
    QList<QByteArray> waitForLines(qsizetype n, const QByteArray &text = "WEX_Fetch") const
    {
        WaitUntil([&] { return linesHolding(text).size() >= n; }, 5000);
        return linesHolding(text);
    }

private:
    QByteArray tools_() const { return dir_.at("bin"); }
    QByteArray recorder(const QByteArray &name) const
    {
        return "n='" + name + "'\nfor a in \"$@\"; do n=\"$n|$a\"; done\necho \"$n\" >> '" + dir_.at("log") + "'\n";
    }
    // path lies inside the scratch folder.
    QByteArray writeProgram(const QByteArray &path, const QByteArray &body) const
    {
        dir_.write(path.mid(dir_.path().size() + 1), "#!/bin/sh\n" + body);
        ::chmod(path.constData(), 0755);
        return path;
    }

    TestDir dir_; // first: the variables below point into it
    ScopedEnv suite_, path_;
};

} // namespace wex::test
