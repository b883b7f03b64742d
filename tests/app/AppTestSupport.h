#pragma once
// Helpers of the window tests: mail files, waiting for the title list, selecting rows, modal windows.
#include "MailTitles.h"
#include "TestStore.h"
#include "Wait.h"

#include <QApplication>
#include <QDialog>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

namespace wex::test {

// A mail file with the header lines the scanner reads; day (1..28) of December 2026 orders it by date.
inline QByteArray WriteMail(const TestDir &dir, const QByteArray &relative, const QString &from,
                            const QString &subject, int day)
{
    const QByteArray text = "From: " + from.toUtf8() + "\nSubject: " + subject.toUtf8() + "\nDate: Mon, " +
                            QByteArray::number(day) +
                            " Dec 2026 10:00:00 +0900\nContent-Type: text/plain; charset=UTF-8\n\nbody of " +
                            subject.toUtf8() + "\n";
    return dir.write(relative, text);
}

// Until no load runs: the table then shows what loadTitleTable asked for.
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

// Runs action on the active modal T; if none comes the test fails and the modal window is rejected (no hang).
// Selects the first row as a click does (current, its mail shown) and adds the others as Ctrl+click does.
inline void SelectRows(QTableView &table, const QList<int> &rows)
{
    QItemSelectionModel *selection = table.selectionModel();
    selection->setCurrentIndex(table.model()->index(rows.first(), 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    for (const int row : rows)
        selection->select(table.model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

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
