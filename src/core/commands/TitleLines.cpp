#include "TitleLines.h"

#include <vector>

// The lines are built for speed on large folders: every line is written
// straight into one output buffer without intermediate strings, dates are
// formatted by arithmetic rather than through QDateTime, and text goes from
// UTF-16 to UTF-8 in the same pass that escapes it.

namespace wex {

namespace {

constexpr size_t kFlushSize = 1 << 20;

// Writers into a caller-provided area that is known to be large enough
// (lineBound); each returns the position after what it wrote.

char *putEscapedByte(char *p, char c)
{
    switch (c) {
    case '\\': *p++ = '\\'; *p++ = '\\'; break;
    case '\t': *p++ = '\\'; *p++ = 't'; break;
    case '\n': *p++ = '\\'; *p++ = 'n'; break;
    case '\r': *p++ = '\\'; *p++ = 'r'; break;
    default: *p++ = c; break;
    }
    return p;
}

char *putEscapedBytes(char *p, QByteArrayView bytes)
{
    for (char c : bytes)
        p = putEscapedByte(p, c);
    return p;
}

// UTF-16 to UTF-8 with the escapes; a lone surrogate becomes U+FFFD.
// At most 3 bytes per UTF-16 code unit.
char *putEscapedText(char *p, const QString &text)
{
    const char16_t *s = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            p = putEscapedByte(p, char(c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                ++i;
            } else {
                c = 0xFFFD;
            }
        }
        if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *p++ = char(0xE0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
        } else {
            *p++ = char(0xF0 | (c >> 18));
            *p++ = char(0x80 | ((c >> 12) & 0x3F));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
        }
        *p++ = char(0x80 | (c & 0x3F));
    }
    return p;
}

// Decimal, zero-padded to width; at most 21 bytes.
char *putNumber(char *p, qint64 value, int width)
{
    char digits[24];
    int n = 0;
    const bool negative = value < 0;
    quint64 v = negative ? quint64(-(value + 1)) + 1 : quint64(value);
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    if (negative)
        *p++ = '-';
    for (int i = n; i < width; ++i)
        *p++ = '0';
    while (n)
        *p++ = digits[--n];
    return p;
}

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's civil_from_days).
void civilFromDays(qint64 z, qint64 *year, unsigned *month, unsigned *day)
{
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *day = doy - (153 * mp + 2) / 5 + 1;
    *month = mp < 10 ? mp + 3 : mp - 9;
    *year = qint64(yoe) + era * 400 + (*month <= 2);
}

constexpr qsizetype kDateBound = 64;

// "YYYY-MM-DD HH:MM:SS +HHMM" in the date's own offset; nothing for the empty date.
char *putDate(char *p, const MailDate &date)
{
    if (date.isEmpty())
        return p;
    const int offset = date.offsetSeconds();
    const qint64 local = date.secondsSinceEpoch() + offset;
    qint64 days = local / 86400;
    qint64 secs = local % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    qint64 year;
    unsigned month, day;
    civilFromDays(days, &year, &month, &day);
    p = putNumber(p, year, 4);
    *p++ = '-';
    p = putNumber(p, month, 2);
    *p++ = '-';
    p = putNumber(p, day, 2);
    *p++ = ' ';
    p = putNumber(p, secs / 3600, 2);
    *p++ = ':';
    p = putNumber(p, secs / 60 % 60, 2);
    *p++ = ':';
    p = putNumber(p, secs % 60, 2);
    *p++ = ' ';
    *p++ = offset < 0 ? '-' : '+';
    const int a = offset < 0 ? -offset : offset;
    p = putNumber(p, a / 3600, 2);
    return putNumber(p, a / 60 % 60, 2);
}

// The most bytes one line of this title can take, line feed included.
qsizetype lineBound(const Title &title)
{
    return 8 + 3 * (title.from().size() + title.subject().size()) + kDateBound + 24
        + 2 * title.path().size() + 8;
}

char *putTitleLine(char *p, const Title &title)
{
    constexpr char kLetters[] = "AURHSXE";
    const uint8_t flags[] = {title.archiveState(), title.unreadState(), title.replyState(), title.htmlState(),
                             title.sendState(),    title.noMainState(), title.errorState()};
    for (size_t k = 0; k < sizeof flags; ++k) {
        if (flags[k])
            *p++ = kLetters[k];
    }
    *p++ = '\t';
    p = putEscapedText(p, title.from());
    *p++ = '\t';
    p = putDate(p, title.date());
    *p++ = '\t';
    p = putEscapedText(p, title.subject());
    *p++ = '\t';
    p = putNumber(p, title.code(), 1);
    *p++ = '\t';
    return putEscapedBytes(p, title.path());
}

// One growing output area; written out in large pieces.
class OutputBuffer {
public:
    explicit OutputBuffer(FILE *out) : out_(out) {}
    void addLine(const Title &title)
    {
        const size_t need = size_t(lineBound(title));
        if (data_.size() - used_ < need) {
            flush();
            if (data_.size() < need + kFlushSize)
                data_.resize(need + kFlushSize);
        }
        char *p = putTitleLine(data_.data() + used_, title);
        *p++ = '\n';
        used_ = size_t(p - data_.data());
    }
    void flush()
    {
        if (used_ && std::fwrite(data_.data(), 1, used_, out_) != used_)
            ok_ = false;
        used_ = 0;
    }
    bool ok() const { return ok_; }

private:
    FILE *out_;
    std::vector<char> data_;
    size_t used_ = 0;
    bool ok_ = true;
};

} // namespace

QByteArray FormatTitleLine(const Title &title)
{
    QByteArray line(lineBound(title), Qt::Uninitialized);
    line.truncate(putTitleLine(line.data(), title) - line.constData());
    return line;
}

QByteArray EscapeLineBytes(QByteArrayView bytes)
{
    QByteArray shown(2 * bytes.size(), Qt::Uninitialized);
    shown.truncate(putEscapedBytes(shown.data(), bytes) - shown.constData());
    return shown;
}

bool WriteTitleLines(const TitleArray &titles, FILE *out)
{
    OutputBuffer output(out);
    for (const Title &title : titles)
        output.addLine(title);
    output.flush();
    return std::fflush(out) == 0 && output.ok();
}

} // namespace wex
