#pragma once
// Helpers for the application shell's tests: real mail files in scratch
// stores, and a QAbstractItemModelTester whose complaints fail the test.
#include "TestStore.h"

#include <QAbstractItemModelTester>
#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

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
