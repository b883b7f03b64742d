#pragma once
// The display font of each language group (1..18), restored from and saved to
// the defaults store ("Code-Numbers", "Font-Names", "Font-Sizes").
#include <QFont>
#include <QHash>
#include <QObject>
#include <cstdint>
#include <optional>

namespace wex {

class Coding;
class DefaultsStore;

class CodingFonts : public QObject {
    Q_OBJECT
public:
    // Builds the fonts at once (initFontDict), saved fonts applied.
    CodingFonts(const Coding &coding, DefaultsStore &defaults, QObject *parent = nullptr);

    // The font of a code's language group; nullopt for a code without one.
    std::optional<QFont> fontFromEncode(uint32_t code) const;
    // The font of a language group (1..18); nullopt outside.
    std::optional<QFont> fontOfLanguage(uint32_t language) const;
    void setFontOfLanguage(uint32_t language, const QFont &font);

    // The initial fonts: the 14-point system font, a Japanese monospace family
    // for Japanese.
    void initFontDict();
    // Applies the saved fonts of the first n entries of the stored arrays.
    void loadEncodeFontDictionaryOfNumber(int n);
    // Writes the fonts in codeArray order.
    void terminate();

    // The Japanese family used: "Osaka-Mono" when installed, else the first
    // installed Japanese monospace family; "" when none is.
    static QString japaneseFamily();

private:
    const Coding &coding_;
    DefaultsStore &defaults_;
    QHash<uint32_t, QFont> fonts_;
};

} // namespace wex
