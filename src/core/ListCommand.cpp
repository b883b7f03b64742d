#include "ListCommand.h"

#include "Coding.h"
#include "TitleScanner.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

// The listing is built for speed on large folders: every line is appended to
// one output buffer without intermediate strings, dates are formatted by
// arithmetic rather than through QDateTime, and text goes from UTF-16 to UTF-8
// in the same pass that escapes it.

namespace wex {

namespace {

constexpr char kUsage[] = "usage: wex-browser --list FOLDER [--sort state|from|date|subject] [--reverse]\n";
constexpr size_t kFlushSize = 1 << 20;

void appendEscapedByte(std::string &out, char c)
{
    switch (c) {
    case '\\': out += "\\\\"; break;
    case '\t': out += "\\t"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    default: out += c; break;
    }
}

void appendEscapedBytes(std::string &out, QByteArrayView bytes)
{
    for (char c : bytes)
        appendEscapedByte(out, c);
}

// UTF-16 to UTF-8 with the escapes; a lone surrogate becomes U+FFFD.
void appendEscapedText(std::string &out, const QString &text)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = p[i];
        if (c < 0x80) {
            appendEscapedByte(out, char(c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (p[i + 1] - 0xDC00);
                ++i;
            } else {
                c = 0xFFFD;
            }
        }
        if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
        }
        out += char(0x80 | (c & 0x3F));
    }
}

void appendDigits(std::string &out, qint64 value, int width)
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
        out += '-';
    for (int i = n; i < width; ++i)
        out += '0';
    while (n)
        out += digits[--n];
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

// "YYYY-MM-DD HH:MM:SS +HHMM" in the date's own offset; nothing for the empty date.
void appendDate(std::string &out, const MailDate &date)
{
    if (date.isEmpty())
        return;
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
    appendDigits(out, year, 4);
    out += '-';
    appendDigits(out, month, 2);
    out += '-';
    appendDigits(out, day, 2);
    out += ' ';
    appendDigits(out, secs / 3600, 2);
    out += ':';
    appendDigits(out, secs / 60 % 60, 2);
    out += ':';
    appendDigits(out, secs % 60, 2);
    out += ' ';
    out += offset < 0 ? '-' : '+';
    const int a = offset < 0 ? -offset : offset;
    appendDigits(out, a / 3600, 2);
    appendDigits(out, a / 60 % 60, 2);
}

void appendTitleLine(std::string &out, const Title &title)
{
    const QString state = title.state();
    for (QChar c : state)
        out += char(c.unicode());
    out += '\t';
    appendEscapedText(out, title.from());
    out += '\t';
    appendDate(out, title.date());
    out += '\t';
    appendEscapedText(out, title.subject());
    out += '\t';
    appendDigits(out, title.code(), 1);
    out += '\t';
    appendEscapedBytes(out, title.path());
}

// FOLDER made absolute against the working folder and normalised lexically:
// "." and empty components go, ".." removes the component before it. No link
// is resolved, so the paths printed are under the folder as the user named it.
bool absoluteFolder(const char *argument, QByteArray *out)
{
    QByteArray full;
    if (argument[0] != '/') {
        char *cwd = ::getcwd(nullptr, 0);
        if (!cwd)
            return false;
        full = cwd;
        std::free(cwd);
        full += '/';
    }
    full += argument;
    std::vector<QByteArrayView> parts;
    const QByteArrayView all(full);
    for (qsizetype start = 0; start <= all.size();) {
        qsizetype slash = all.indexOf('/', start);
        if (slash < 0)
            slash = all.size();
        const QByteArrayView part = all.sliced(start, slash - start);
        start = slash + 1;
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    QByteArray normal;
    for (QByteArrayView part : parts) {
        normal += '/';
        normal += part;
    }
    *out = normal.isEmpty() ? QByteArray("/") : normal;
    return true;
}

bool writeOut(FILE *out, const std::string &bytes)
{
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

} // namespace

bool IsHeadlessCommand(int argc, char **argv) { return argc >= 2 && std::strcmp(argv[1], "--list") == 0; }

QByteArray FormatTitleLine(const Title &title)
{
    std::string line;
    appendTitleLine(line, title);
    return QByteArray(line.data(), qsizetype(line.size()));
}

int RunListCommand(int argc, char **argv, FILE *out, FILE *err)
{
    const char *folderArgument = nullptr;
    TitleKey key = TitleKey::Date;
    bool reverse = false;
    bool optionsEnded = false;
    for (int i = 2; i < argc; ++i) {
        const QByteArrayView arg(argv[i]);
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--reverse") {
            reverse = true;
        } else if (!optionsEnded && arg == "--sort") {
            const std::optional<TitleKey> k =
                i + 1 < argc ? TitleKeyFromIdentifier(QString::fromUtf8(argv[i + 1])) : std::nullopt;
            if (!k) {
                std::fputs(kUsage, err);
                return 2;
            }
            key = *k;
            ++i;
        } else if ((!optionsEnded && arg.size() > 1 && arg.startsWith('-')) || folderArgument) {
            std::fputs(kUsage, err);
            return 2;
        } else {
            folderArgument = argv[i];
        }
    }
    if (!folderArgument || !*folderArgument) {
        std::fputs(kUsage, err);
        return 2;
    }

    QByteArray folder;
    if (!absoluteFolder(folderArgument, &folder)) {
        std::fprintf(err, "wex-browser: cannot find the working folder: %s\n", std::strerror(errno));
        return 1;
    }

    const Coding coding;
    TitleScanner scanner(coding);
    bool listed = false;
    TitleArray titles = scanner.loadTitleArray(folder, &listed);
    if (!listed) {
        const int error = errno;
        std::string line = "wex-browser: cannot list ";
        appendEscapedBytes(line, folder);
        line += ": ";
        line += std::strerror(error);
        line += '\n';
        writeOut(err, line);
        return 1;
    }
    SortTitles(titles, key, reverse);

    std::string buffer;
    buffer.reserve(kFlushSize + 64 * 1024);
    bool ok = true;
    for (const Title &title : titles) {
        appendTitleLine(buffer, title);
        buffer += '\n';
        if (buffer.size() >= kFlushSize) {
            ok = ok && writeOut(out, buffer);
            buffer.clear();
        }
    }
    ok = ok && writeOut(out, buffer);
    ok = std::fflush(out) == 0 && ok;
    if (!ok) {
        std::fprintf(err, "wex-browser: cannot write the listing: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

} // namespace wex
