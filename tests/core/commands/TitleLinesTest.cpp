// Listings written in two halves or through an order are exactly their lines, in order.
#include "TitleLines.h"
#include "CoreTest.h"

// What WriteTitleLines writes, through the order when one is given.
static QByteArray WrittenBy(const TitleArray &titles, const std::vector<uint32_t> *order = nullptr)
{
    char *bytes = nullptr;
    size_t size = 0;
    FILE *f = open_memstream(&bytes, &size);
    const bool ok = order ? WriteTitleLines(titles, *order, f) : WriteTitleLines(titles, f);
    std::fclose(f);
    const QByteArray all(bytes, qsizetype(size));
    std::free(bytes);
    return ok ? all : QByteArray("write failed");
}

TEST(WriteTitleLines, EveryLengthOfListingIsItsLinesInOrder)
{
    const QString texts[] = {"plain", QString::fromUtf8("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e"), "tab\there\\",
                             QString::fromUtf8("\xf0\x9f\x98\x80 pair"), QString(QChar(0xDC00)) + "lone", ""};
    for (const int count : {0, 1, 8191, 8192, 20001}) {
        SCOPED_TRACE(count);
        TitleArray titles;
        QByteArray expected;
        for (int i = 0; i < count; ++i) {
            Title t;
            t.setFrom(texts[i % 6] + QString::number(i));
            t.setSubject(texts[(i / 6) % 6]);
            t.setDate(i % 7 ? MailDate::fromFields(2000 + i % 30, 1 + i % 12, 1, 0, 0, i, 32400) : MailDate());
            t.setPath("/m/" + QByteArray::number(i) + (i % 11 ? ".ygm" : "\n.mail"));
            t.setUnreadState(i % 2);
            t.setCode(uint32_t(i % 5));
            titles.push_back(t);
            expected += FormatTitleLine(t) + '\n';
        }
        EXPECT_EQ(WrittenBy(titles), expected);

        // Through an order: every other title, last first.
        std::vector<uint32_t> order;
        QByteArray ordered;
        for (int i = count - 1; i >= 0; i -= 2) {
            order.push_back(uint32_t(i));
            ordered += FormatTitleLine(titles[size_t(i)]) + '\n';
        }
        EXPECT_EQ(WrittenBy(titles, &order), ordered);
    }
}
