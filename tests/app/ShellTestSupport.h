#pragma once
// Helpers for the application shell's tests: real mail files in scratch
// stores, fake suite programs, and a QAbstractItemModelTester whose
// complaints fail the test.
#include "TestStore.h"

#include <QAbstractItemModelTester>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace wex::test {

// A mail file with the header lines the scanner reads. day: day of December
// 2026 (1..28), so a larger day sorts later under "date".
inline QByteArray WriteMail(const TestDir &dir, const QByteArray &relative, const QString &from,
                            const QString &subject, int day)
{
    const QByteArray text = "From: " + from.toUtf8() + "\nSubject: " + subject.toUtf8() +
                            "\nDate: Mon, " + QByteArray::number(day) +
                            " Dec 2026 10:00:00 +0900\nContent-Type: text/plain; charset=UTF-8\n\nbody of " +
                            subject.toUtf8() + "\n";
    return dir.write(relative, text);
}

// A folder of fake `ps`, `sleep` and `java` first on PATH, and a fake suite
// folder, for the object's lifetime: every program the unread check runs
// writes one line to the log, and no real one ever starts. `ps` prints the
// contents of "ps-output" (nothing when it is missing).
class FakeSuite {
public:
    FakeSuite()
        : path_("PATH", bin() + ":" + qgetenv("PATH")), suite_("WEX_SUITE", dir_.path() + "/my suite")
    {
        dir_.mkdir("my suite");
        script("ps", "echo \"ps $*\" >> '%LOG%'\ncat '%DIR%/ps-output' 2>/dev/null\nexit 0\n");
        script("sleep", "echo \"sleep $*\" >> '%LOG%'\n");
        script("java", "echo \"java $*\" >> '%LOG%'\n");
    }
    QByteArray bin() const { return dir_.path() + "/bin"; }
    QByteArray suite() const { return dir_.path() + "/my suite"; }
    void setPsOutput(const QByteArray &text) const { dir_.write("ps-output", text); }
    QList<QByteArray> log() const
    {
        QByteArray bytes = Exists(dir_.at("log")) ? ReadAll(dir_.at("log")) : QByteArray();
        QList<QByteArray> lines = bytes.split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }
    // Waits until the log has n lines (or 5 s pass), then a little longer so
    // that any line too many shows up as well.
    QList<QByteArray> waitForLog(qsizetype n) const
    {
        QDeadlineTimer deadline(5000);
        while (log().size() < n && !deadline.hasExpired())
            QTest::qWait(20);
        QTest::qWait(300);
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

// Collects the tester's warnings; a test asserts failures() == 0.
class ModelChecker {
public:
    explicit ModelChecker(QAbstractItemModel *model)
    {
        current_ = this;
        previous_ = qInstallMessageHandler(&ModelChecker::handler);
        tester_ = std::make_unique<QAbstractItemModelTester>(
            model, QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    ~ModelChecker()
    {
        tester_.reset();
        qInstallMessageHandler(previous_);
        current_ = nullptr;
    }
    int failures() const { return failures_; }
    const QString &firstFailure() const { return first_; }

private:
    static void handler(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (current_ && type == QtWarningMsg && message.contains(QLatin1String("FAIL"))) {
            if (current_->failures_++ == 0)
                current_->first_ = message;
        }
    }
    static inline ModelChecker *current_ = nullptr;
    QtMessageHandler previous_ = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester_;
    int failures_ = 0;
    QString first_;
};

} // namespace wex::test
