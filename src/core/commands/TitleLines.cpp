#include "TitleLines.h"

#include <memory>
#include <system_error>
#include <thread>
#include <vector>

// The lines are built for speed on large folders: every line is written
// straight into one output buffer without intermediate strings, dates are
// formatted by arithmetic rather than through QDateTime, and text goes from
// UTF-16 to UTF-8 in the same pass that escapes it.

namespace wex {

namespace {

constexpr size_t kFlushSize = 1 << 20;
// Below this many lines a second formatting thread costs more than it saves.
constexpr size_t kParallelLines = 8192;

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
    const char16_t *const end = s + text.size();
    while (s < end) {
        char32_t c = *s++;
        if (c < 0x80) {
            // Every byte that is escaped lies below a space, or is "\\".
            if (c >= 0x20 && c != '\\')
                *p++ = char(c);
            else
                p = putEscapedByte(p, char(c));
            continue;
        }
        if (c < 0x800) {
            p[0] = char(0xC0 | (c >> 6));
            p[1] = char(0x80 | (c & 0x3F));
            p += 2;
            continue;
        }
        if (c < 0xD800 || c > 0xDFFF) {
            p[0] = char(0xE0 | (c >> 12));
            p[1] = char(0x80 | ((c >> 6) & 0x3F));
            p[2] = char(0x80 | (c & 0x3F));
            p += 3;
            continue;
        }
        if (c <= 0xDBFF && s < end && *s >= 0xDC00 && *s <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (*s++ - 0xDC00);
            p[0] = char(0xF0 | (c >> 18));
            p[1] = char(0x80 | ((c >> 12) & 0x3F));
            p[2] = char(0x80 | ((c >> 6) & 0x3F));
            p[3] = char(0x80 | (c & 0x3F));
            p += 4;
            continue;
        }
        p[0] = char(0xEF); // U+FFFD
        p[1] = char(0xBF);
        p[2] = char(0xBD);
        p += 3;
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

// The titles of a listing in the order they are written: all of them, or
// those an order names.
class ListingView {
public:
    ListingView(const TitleArray &titles, const std::vector<uint32_t> *order)
        : titles_(titles), order_(order ? order->data() : nullptr), size_(order ? order->size() : titles.size())
    {
    }
    size_t size() const { return size_; }
    const Title &at(size_t k) const { return titles_[order_ ? order_[k] : k]; }

    // The texts of a title lie apart from it on the heap, and a sorted
    // listing visits titles and texts in no memory order: the title is asked
    // for well ahead, its texts once it has had time to arrive.
    void prefetch(size_t k) const
    {
        constexpr size_t kTextsAhead = 6, kTitleAhead = 12;
        if (order_ && k + kTitleAhead < size_)
            __builtin_prefetch(&titles_[order_[k + kTitleAhead]]);
        if (k + kTextsAhead < size_) {
            const Title &t = at(k + kTextsAhead);
            __builtin_prefetch(t.from().utf16());
            __builtin_prefetch(t.subject().utf16());
            __builtin_prefetch(t.path().constData());
        }
    }

private:
    const TitleArray &titles_;
    const uint32_t *order_;
    size_t size_;
};

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

namespace {

bool writeLines(const ListingView &lines, FILE *out)
{
    // A long listing is formatted by two threads: the second half into a
    // buffer of its own while this thread formats and writes the first half.
    // The bytes written are the same either way.
    const size_t n = lines.size();
    const size_t half = n >= kParallelLines && std::thread::hardware_concurrency() > 1 ? n / 2 : n;
    // Sized by an upper bound, and never zero-filled: only the pages the
    // lines take are ever touched.
    std::unique_ptr<char[]> tail;
    size_t tailSize = 0;
    std::thread helper;
    if (half < n) {
        try {
            helper = std::thread([&lines, &tail, &tailSize, half, n] {
                size_t bound = 0;
                for (size_t k = half; k < n; ++k)
                    bound += size_t(lineBound(lines.at(k)));
                tail.reset(new char[bound]);
                char *p = tail.get();
                for (size_t k = half; k < n; ++k) {
                    lines.prefetch(k);
                    p = putTitleLine(p, lines.at(k));
                    *p++ = '\n';
                }
                tailSize = size_t(p - tail.get());
            });
        } catch (const std::system_error &) {
            // No thread to be had: this one formats everything.
        }
    }
    const size_t mine = helper.joinable() ? half : n;
    OutputBuffer output(out);
    for (size_t k = 0; k < mine; ++k) {
        lines.prefetch(k);
        output.addLine(lines.at(k));
    }
    output.flush();
    bool ok = output.ok();
    if (helper.joinable()) {
        helper.join();
        if (ok && tailSize && std::fwrite(tail.get(), 1, tailSize, out) != tailSize)
            ok = false;
    }
    return std::fflush(out) == 0 && ok;
}

} // namespace

bool WriteTitleLines(const TitleArray &titles, FILE *out) { return writeLines(ListingView(titles, nullptr), out); }

bool WriteTitleLines(const TitleArray &titles, const std::vector<uint32_t> &order, FILE *out)
{
    return writeLines(ListingView(titles, &order), out);
}

} // namespace wex
