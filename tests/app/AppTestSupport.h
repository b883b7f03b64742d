#pragma once
// Helpers of the window tests: mail files in scratch stores, waiting for the
// title list, and acting on modal windows from inside their run.
#include "MailTitles.h"
#include "TestStore.h"
#include "Wait.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace wex::test {

// A mail file with the header lines the scanner reads. day: day of December
// 2026 (1..28), so a larger day sorts later under "date".
inline QByteArray WriteMail(const TestDir &dir, const QByteArray &relative, const QString &from,
                            const QString &subject, int day)
{
    const QByteArray text = "From: " + from.toUtf8() + "\nSubject: " + subject.toUtf8() + "\nDate: Mon, " +
                            QByteArray::number(day) +
                            " Dec 2026 10:00:00 +0900\nContent-Type: text/plain; charset=UTF-8\n\nbody of " +
                            subject.toUtf8() + "\n";
    return dir.write(relative, text);
}

// Until the title list has no load running: the table then shows what
// loadTitleTable asked for.
inline bool WaitForTitles(const MailTitles &titles) { return WaitUntil([&] { return !titles.isLoading(); }, 20000); }

inline bool LoadTitlesNow(MailTitles &titles, const QByteArray &folder, bool refresh,
                          const QByteArray &select = QByteArray())
{
    titles.loadTitleTable(folder, refresh, select);
    return WaitForTitles(titles);
}

// The subjects of the rows, top to bottom.
inline QStringList Subjects(MailTitles &titles)
{
    QStringList out;
    for (int row = 0; row < titles.count(); ++row)
        out << titles.titleAt(row)->subject();
    return out;
}

// Once a T is the active modal window, runs action on it. A window that never
// comes fails the test, and whatever modal window then runs is rejected, so a
// test never hangs.
template <class T>
void WhenModal(std::function<void(T *)> action, int timeoutMs = 5000)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, action] {
        QWidget *modal = QApplication::activeModalWidget();
        T *window = qobject_cast<T *>(modal);
        if ((window && window->isVisible()) || deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
            if (window && window->isVisible()) {
                action(window);
                return;
            }
            ADD_FAILURE() << "no modal " << T::staticMetaObject.className() << " came";
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
        }
    });
    timer->start();
}

} // namespace wex::test
