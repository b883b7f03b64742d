#pragma once
// Waits, events running, until the title list has no load running: the
// table then shows what loadTitleTable asked for. False after ms without.
#include "MailTitles.h"

#include <QDeadlineTimer>
#include <QTest>

namespace wex::test {

inline bool WaitForTitles(const MailTitles &titles, int ms = 20000)
{
    QDeadlineTimer deadline(ms);
    while (titles.isLoading() && !deadline.hasExpired())
        QTest::qWait(2);
    return !titles.isLoading();
}

// loadTitleTable, then WaitForTitles.
inline bool LoadTitlesNow(MailTitles &titles, const QByteArray &folder, bool refresh,
                          const QByteArray &select = QByteArray())
{
    titles.loadTitleTable(folder, refresh, select);
    return WaitForTitles(titles);
}

} // namespace wex::test
