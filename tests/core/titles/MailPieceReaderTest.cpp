#include "MailPieceReader.h"
#include "TestStore.h"

#include <QRandomGenerator>
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace wex;
using wex::test::TestDir;

namespace {

// The pieces of a file as the standard line read with a 4096-byte buffer
// returns them: the reference the reader must match.
std::vector<QByteArray> FgetsPieces(const QByteArray &path)
{
    std::vector<QByteArray> pieces;
    FILE *f = fopen(path.constData(), "rb");
    char line[4096];
    long pos = 0;
    while (fgets(line, sizeof line, f)) {
        const long now = ftell(f); // fgets hides embedded NULs; the offsets do not
        pieces.push_back(QByteArray(line, now - pos));
        pos = now;
    }
    fclose(f);
    return pieces;
}

// Every piece through next() (or, with candidates, through nextStartingWith('C', 'X')).
std::vector<QByteArray> ReadPieces(const QByteArray &path, std::vector<char> &buffer, bool candidates)
{
    std::vector<QByteArray> pieces;
    const int fd = ::open(path.constData(), O_RDONLY);
    const off_t size = ::lseek(fd, 0, SEEK_END);
    ::lseek(fd, 0, SEEK_SET);
    MailPieceReader reader(buffer, fd, size);
    size_t len = 0;
    while (char *p = candidates ? reader.nextStartingWith('C', 'X', &len) : reader.next(&len)) {
        EXPECT_EQ(p[len], '\0');
        pieces.push_back(QByteArray(p, qsizetype(len)));
    }
    ::close(fd);
    return pieces;
}

QByteArray RandomMail(QRandomGenerator &gen)
{
    static const int lengths[] = {0, 1, 2, 15, 16, 17, 60, 4093, 4094, 4095, 4096, 8190, 8191, 10000};
    QByteArray text;
    const int lines = gen.bounded(1, 400);
    for (int i = 0; i < lines; ++i) {
        const int len = gen.bounded(4) == 0 ? lengths[gen.bounded(int(std::size(lengths)))] : gen.bounded(0, 120);
        QByteArray line(len, 'a');
        for (char &c : line) {
            const int r = gen.bounded(100);
            c = r < 3 ? 'C' : r < 5 ? 'X' : r < 6 ? '\0' : r < 7 ? '\r' : char('a' + r % 26);
        }
        text += line;
        if (gen.bounded(20))
            text += '\n';
    }
    return text;
}

} // namespace

TEST(MailPieceReader, PiecesMatchTheStandardLineRead)
{
    TestDir dir;
    std::vector<char> buffer; // shared by all files, as in a scan
    QRandomGenerator gen(20261206);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        QByteArray text = RandomMail(gen);
        if (round % 50 == 0) // several blocks, so pieces straddle refills
            text = text.repeated(MailPieceReader::kBlockSize / qMax<qsizetype>(text.size(), 1) * 3 + 1);
        const QByteArray path = dir.write("m" + QByteArray::number(round), text);
        const std::vector<QByteArray> expected = FgetsPieces(path);
        ASSERT_EQ(ReadPieces(path, buffer, false), expected);
        std::vector<QByteArray> expectedCandidates;
        std::copy_if(expected.begin(), expected.end(), std::back_inserter(expectedCandidates),
                     [](const QByteArray &p) { return p[0] == 'C' || p[0] == 'X'; });
        ASSERT_EQ(ReadPieces(path, buffer, true), expectedCandidates);
    }
}
