#pragma once
// A scratch mail folder, a small coding list and a scanner.
#include "Coding.h"
#include "CoreTest.h"
#include "PathUtils.h"
#include "TitleScanner.h"

namespace wex::test {

// Codes: ISOLatin1 3, JapaneseEUC 5, ShiftJIS 7, UTF8 8.
inline constexpr uint32_t kLatin1 = 3, kEucJp = 5, kShiftJis = 7, kUtf8 = 8;

inline QByteArray ScanCodingList()
{
    return "default UTF8\nmultipart ShiftJIS\nsend ISO2022JP\n"
           "encode UTF8 UTF-8\nencode ShiftJIS SHIFT_JIS\nencode ISOLatin1 ISO-8859-1\nencode ASCII US-ASCII\n"
           "wexCharCode ShiftJIS SJIS\nwexCharCode JapaneseEUC EUC\n";
}

// "name:state" of each title, by the last part of its path.
inline QByteArray Names(const TitleArray &titles)
{
    QByteArray out;
    for (const Title &t : titles)
        out += GetPathBase(t.path()) + ":" + t.state().toLatin1() + " ";
    return out.trimmed();
}

class ScanFixture : public ::testing::Test {
protected:
    ScanFixture() : coding(ScanCodingList()), scanner(coding) {}

    TitleArray scan() { return scanner.loadTitleArray(dir.path()); }
    // The single title of one file alone in a new subfolder; fails unless there is exactly one.
    Title one(const QByteArray &name, const QByteArray &bytes)
    {
        const QByteArray folder = dir.mkdir("one" + QByteArray::number(++serial_));
        dir.write(folder.mid(dir.path().size() + 1) + "/" + name, bytes);
        const TitleArray titles = scanner.loadTitleArray(folder);
        EXPECT_EQ(titles.size(), 1u) << name.constData();
        return titles.empty() ? Title() : titles.front();
    }

    TestDir dir;
    Coding coding;
    TitleScanner scanner;

private:
    int serial_ = 0;
};

} // namespace wex::test
