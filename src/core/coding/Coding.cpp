#include "Coding.h"

#include "PathUtils.h"
#include "TextDecoder.h"

#include <QFile>
#include <algorithm>
#include <array>

// The coding list is compiled into this static library; its registration
// object is only linked in when something refers to it.
static void InitCoreResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(core);
        return true;
    }();
    (void)done;
}

namespace wex {

namespace {

struct CodeRow {
    const char *name;
    uint32_t fileCoding; // platform string encoding
    uint32_t language;
};

// Codes 1 to 27; 28 to 61 are the language-tagged Unicode and UTF8 families.
// Code 15 is named "GB_2312" but decodes as EUC-CN.
constexpr std::array<CodeRow, 27> kPlainCodes = {{
    {"ASCII", enc::ASCII, 2},
    {"ISO2022JP", enc::ISO2022JP, 3},
    {"ISOLatin1", enc::ISOLatin1, 7},
    {"ISOLatin2", enc::ISOLatin2, 8},
    {"JapaneseEUC", enc::JapaneseEUC, 3},
    {"MacOSRoman", enc::MacOSRoman, 7},
    {"ShiftJIS", enc::ShiftJIS, 3},
    {"UTF8", enc::UTF8, 1},
    {"Unicode", enc::Unicode, 1},
    {"MacKorean", enc::fromCF(3), 4},
    {"MacChineseTrad", enc::fromCF(2), 5},
    {"MacChineseSimp", enc::fromCF(25), 6},
    {"EUC_KR", enc::fromCF(0x940), 4},
    {"Big5", enc::fromCF(0xA03), 5},
    {"GB_2312", enc::fromCF(0x930), 6},
    {"ISOLatin3", enc::fromCF(0x203), 9},
    {"ISOLatin4", enc::fromCF(0x204), 10},
    {"ISOLatinCyrillic", enc::fromCF(0x205), 11},
    {"ISOLatinArabic", enc::fromCF(0x206), 12},
    {"ISOLatinGreek", enc::fromCF(0x207), 13},
    {"ISOLatinHebrew", enc::fromCF(0x208), 14},
    {"ISOLatin5", enc::fromCF(0x209), 15},
    {"ISOLatin6", enc::fromCF(0x20A), 16},
    {"ISOLatinThai", enc::fromCF(0x20B), 17},
    {"ISOLatin7", enc::fromCF(0x20D), 10},
    {"ISOLatin8", enc::fromCF(0x20E), 18},
    {"ISOLatin9", enc::fromCF(0x20F), 7},
}};

// The words of the language-tagged families; word i is language i + 2.
constexpr std::array<const char *, 17> kLanguageWords = {
    "English", "Japanese", "Korean", "ChineseTrad", "ChineseSimp", "Western",
    "CentralEuropean", "SouthEuropean", "Baltic", "Cyrillic", "Arabic", "Greek",
    "Hebrew", "Turkish", "Nordic", "Thai", "Celtic"};

// Display names of languages 1 to 18 (English keys for Localize).
constexpr std::array<const char *, kLanguageCount> kLanguageNames = {
    QT_TRANSLATE_NOOP("WEX", "Unknown"), QT_TRANSLATE_NOOP("WEX", "English"),
    QT_TRANSLATE_NOOP("WEX", "Japanese"), QT_TRANSLATE_NOOP("WEX", "Korean"),
    QT_TRANSLATE_NOOP("WEX", "Chinese Traditional"), QT_TRANSLATE_NOOP("WEX", "Chinese Simplified"),
    QT_TRANSLATE_NOOP("WEX", "Western"), QT_TRANSLATE_NOOP("WEX", "Central European"),
    QT_TRANSLATE_NOOP("WEX", "South European"), QT_TRANSLATE_NOOP("WEX", "Baltic"),
    QT_TRANSLATE_NOOP("WEX", "Cyrillic"), QT_TRANSLATE_NOOP("WEX", "Arabic"),
    QT_TRANSLATE_NOOP("WEX", "Greek"), QT_TRANSLATE_NOOP("WEX", "Hebrew"),
    QT_TRANSLATE_NOOP("WEX", "Turkish"), QT_TRANSLATE_NOOP("WEX", "Nordic"),
    QT_TRANSLATE_NOOP("WEX", "Thai"), QT_TRANSLATE_NOOP("WEX", "Celtic")};

constexpr uint32_t kFirstUnicodeFamily = 28; // 28..44
constexpr uint32_t kFirstUtf8Family = 45;    // 45..61

bool isCode(uint32_t code) { return code >= 1 && code <= kCodeCount; }

uint32_t fileCodingOf(uint32_t code)
{
    if (code < kFirstUnicodeFamily)
        return kPlainCodes[code - 1].fileCoding;
    return code < kFirstUtf8Family ? enc::Unicode : enc::UTF8;
}

uint32_t languageOf(uint32_t code)
{
    if (code < kFirstUnicodeFamily)
        return kPlainCodes[code - 1].language;
    return (code - kFirstUnicodeFamily) % kLanguageWords.size() + 2;
}

// The code name table: 62 names for 61 codes ("EUC_JP" is a second name of 5).
const QHash<QString, uint32_t> &codeNameDict()
{
    static const QHash<QString, uint32_t> dict = [] {
        QHash<QString, uint32_t> d;
        for (uint32_t i = 0; i < kPlainCodes.size(); ++i)
            d.insert(QString::fromLatin1(kPlainCodes[i].name), i + 1);
        d.insert(QStringLiteral("EUC_JP"), 5);
        for (uint32_t i = 0; i < kLanguageWords.size(); ++i) {
            const QString word = QString::fromLatin1(kLanguageWords[i]);
            d.insert(QStringLiteral("Unicode") + word, kFirstUnicodeFamily + i);
            d.insert(QStringLiteral("UTF8") + word, kFirstUtf8Family + i);
        }
        return d;
    }();
    return dict;
}

QByteArray upperAscii(QByteArrayView in)
{
    QByteArray out(in.data(), in.size());
    for (char &c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - ('a' - 'A'));
    }
    return out;
}

// Longest usable field of a coding list line; a longer one is ignored.
constexpr qsizetype kMaxField = 63;
// A line is read in pieces of at most this many bytes, each taken as a line.
constexpr qsizetype kMaxPiece = 1023;

// The fields of one line (piece), split at spaces and tabs. Runs of
// separators give no empty fields; a field longer than kMaxField becomes an
// empty (unusable) field so that later fields keep their positions.
QList<QByteArrayView> splitFields(QByteArrayView line)
{
    QList<QByteArrayView> fields;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start) {
            const QByteArrayView f = line.sliced(start, i - start);
            fields.append(f.size() > kMaxField ? QByteArrayView() : f);
        }
    }
    return fields;
}

} // namespace

Coding::Coding()
    : Coding([] {
          InitCoreResources();
          QFile file(QStringLiteral(":/FileEncodeList.txt"));
          return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
      }())
{
}

Coding::Coding(const QByteArray &codingListText)
{
    for (uint32_t lang = 1; lang <= kLanguageCount; ++lang)
        codeArray_.append(lang);
    // Sorted once, by the names in the user's language, case-sensitively.
    QList<QString> names;
    for (uint32_t lang = 1; lang <= kLanguageCount; ++lang)
        names.append(languageName(lang));
    std::stable_sort(codeArray_.begin(), codeArray_.end(),
                     [&](uint32_t a, uint32_t b) { return names[a - 1] < names[b - 1]; });
    initFileCoding(codingListText);
}

uint32_t Coding::codeFromCharset(QByteArrayView charset, bool isWEXCharset) const
{
    qsizetype end = 0;
    while (end < charset.size()) {
        const char c = charset[end];
        if (c == ';' || c == '\n' || c == ' ' || c == '\0')
            break;
        ++end;
    }
    const QHash<QByteArray, uint32_t> &dict = isWEXCharset ? wexCharsetCodeDict_ : charsetCodeDict_;
    const auto it = dict.constFind(upperAscii(charset.first(end)));
    if (it != dict.constEnd())
        return it.value();
    return isWEXCharset ? kCodeNotFound : defaultCode_;
}

uint32_t Coding::fileCodeFromCode(uint32_t code) const
{
    if (isCode(code))
        return fileCodingOf(code);
    if (isCode(defaultCode_))
        return fileCodingOf(defaultCode_);
    return 0;
}

uint32_t Coding::languageOfCode(uint32_t code) const
{
    return isCode(code) ? languageOf(code) : 0;
}

std::optional<uint32_t> Coding::codeForName(const QString &codeName) const
{
    const auto &dict = codeNameDict();
    const auto it = dict.constFind(codeName);
    if (it == dict.constEnd())
        return std::nullopt;
    return it.value();
}

QString Coding::languageName(uint32_t language) const
{
    if (language < 1 || language > kLanguageCount)
        return QString();
    return Localize(kLanguageNames[language - 1]);
}

void Coding::initFileCoding(const QByteArray &text)
{
    const QHash<QString, uint32_t> &names = codeNameDict();
    auto codeOf = [&](QByteArrayView field) -> uint32_t {
        if (field.isEmpty())
            return 0;
        return names.value(QString::fromLatin1(field), 0);
    };

    qsizetype pos = 0;
    while (pos < text.size()) {
        // One piece, as a 1024-byte line buffer reads it: through the next
        // newline, or 1023 bytes of a longer line.
        qsizetype end = pos;
        while (end < text.size() && end - pos < kMaxPiece && text[end] != '\n')
            ++end;
        const qsizetype next = (end < text.size() && text[end] == '\n') ? end + 1 : end;
        QByteArrayView line = QByteArrayView(text).sliced(pos, end - pos);
        pos = next;

        const qsizetype nul = line.indexOf('\0');
        if (nul >= 0)
            line = line.first(nul);
        while (!line.isEmpty() && line.back() == '\r')
            line.chop(1);
        if (line.isEmpty() || line.front() == '#')
            continue;

        if (line.front() == ' ' || line.front() == '\t')
            continue; // the keyword starts in the first column
        const QList<QByteArrayView> fields = splitFields(line);
        const QByteArrayView keyword = fields[0];
        const QByteArrayView codeName = fields.size() > 1 ? fields[1] : QByteArrayView();

        if (keyword == "default") {
            defaultCode_ = codeOf(codeName);
        } else if (keyword == "multipart") {
            multipartFileCoding_ = codeOf(codeName);
        } else if (keyword == "send") {
            sendFileCoding_ = codeOf(codeName);
        } else if (keyword == "encode" || keyword == "wexCharCode") {
            const uint32_t code = codeOf(codeName);
            if (code == 0)
                continue;
            QHash<QByteArray, uint32_t> &dict =
                keyword == "encode" ? charsetCodeDict_ : wexCharsetCodeDict_;
            for (qsizetype i = 2; i < fields.size(); ++i) {
                if (fields[i].isEmpty())
                    continue;
                const QByteArray upper = upperAscii(fields[i]);
                dict.insert(upper, code);
                dict.insert('"' + upper + '"', code);
            }
        }
    }
}

} // namespace wex
