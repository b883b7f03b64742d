#pragma once
// The program's code numbers (1 to 61) for text codings, their names, platform
// encodings and language groups (1 to 18), and the charset lookup driven by the
// coding list resource ("FileEncodeList").
//
// Immutable after construction; fonts per language group live in the
// application layer (CodingFonts), which asks languageOfCode().
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace wex {

// The not-found answer of a WEX-charset lookup (all 32 bits set).
inline constexpr uint32_t kCodeNotFound = 0xFFFFFFFFu;
inline constexpr uint32_t kCodeCount = 61;
inline constexpr uint32_t kLanguageCount = 18;

class Coding {
public:
    // Reads the coding list bundled with the program (":/FileEncodeList.txt").
    Coding();
    // Reads the given coding list text instead (tests, tools). A null array
    // stands for a missing resource: both dictionaries stay empty, codes 0.
    explicit Coding(const QByteArray &codingListText);

    // Charset lookup. The name ends at the first ';', '\n' or ' ' (tab and CR do
    // not end it; quotes stay). It is upper-cased and looked up in the
    // "wexCharCode" table when isWEXCharset, else the "encode" table. Not found:
    // kCodeNotFound for a WEX charset, else defaultCode().
    uint32_t codeFromCharset(QByteArrayView charset, bool isWEXCharset) const;
    // Platform encoding of a code; a code outside 1..61 uses defaultCode(); 0 when
    // neither is known.
    uint32_t fileCodeFromCode(uint32_t code) const;
    // Language group of a code (1..18); 0 for a code outside 1..61.
    uint32_t languageOfCode(uint32_t code) const;

    uint32_t defaultCode() const { return defaultCode_; }
    uint32_t multipartFileCoding() const { return multipartFileCoding_; }
    uint32_t sendFileCoding() const { return sendFileCoding_; }

    // Code name table ("ShiftJIS", "EUC_JP", "UTF8Japanese", ...; case-sensitive).
    std::optional<uint32_t> codeForName(const QString &codeName) const;
    // The language numbers sorted by display name (the font table's rows).
    const QList<uint32_t> &codeArray() const { return codeArray_; }
    // Localised display name of a language number; "" when unknown.
    QString languageName(uint32_t language) const;

    const QHash<QByteArray, uint32_t> &charsetCodeDict() const { return charsetCodeDict_; }
    const QHash<QByteArray, uint32_t> &wexCharsetCodeDict() const { return wexCharsetCodeDict_; }

private:
    void initFileCoding(const QByteArray &text);

    QHash<QByteArray, uint32_t> charsetCodeDict_;
    QHash<QByteArray, uint32_t> wexCharsetCodeDict_;
    uint32_t defaultCode_ = 0;
    uint32_t multipartFileCoding_ = 0;
    uint32_t sendFileCoding_ = 0;
    QList<uint32_t> codeArray_;
};

} // namespace wex
