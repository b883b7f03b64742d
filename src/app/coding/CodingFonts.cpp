#include "CodingFonts.h"

#include "Coding.h"
#include "DefaultsStore.h"
#include "FontName.h"

#include <QFontDatabase>
#include <QJsonArray>
#include <cmath>

// Saved fonts are trusted only as far as they can be used: an entry whose
// language is unknown, whose name is not a string or not an installed family,
// or whose size is not a positive number leaves that language's font as it
// was. Names keep the face (family and style, FontName.h); names of the
// family alone, as older versions saved them, still read. "Code-Numbers" with more entries than languages is ignored as a whole.

namespace wex {

namespace {

const QString kCodeNumbers = QStringLiteral("Code-Numbers");
const QString kFontNames = QStringLiteral("Font-Names");
const QString kFontSizes = QStringLiteral("Font-Sizes");
constexpr uint32_t kJapanese = 3;
constexpr double kInitialPointSize = 14.0;
constexpr double kLargestPointSize = 1000.0;

QFont SizedFont(QFont font, double pointSize)
{
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace

CodingFonts::CodingFonts(const Coding &coding, DefaultsStore &defaults, QObject *parent)
    : QObject(parent), coding_(coding), defaults_(defaults)
{
    initFontDict();
}

QString CodingFonts::japaneseFamily()
{
    const QStringList preferred = {QStringLiteral("Osaka-Mono"), QStringLiteral("Noto Sans Mono CJK JP"),
                                   QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic")};
    for (const QString &family : preferred)
        if (QFontDatabase::hasFamily(family))
            return family;
    // CJK monospace fonts are "dual" width (wide glyphs twice the narrow ones),
    // which the font database does not call fixed pitch: their names tell.
    for (const QString &family : QFontDatabase::families(QFontDatabase::Japanese))
        if (QFontDatabase::isFixedPitch(family) || family.contains(QLatin1String("Mono"), Qt::CaseInsensitive))
            return family;
    return {};
}

void CodingFonts::initFontDict()
{
    fonts_.clear();
    const QFont system = SizedFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont), kInitialPointSize);
    for (uint32_t language = 1; language <= kLanguageCount; ++language)
        fonts_.insert(language, system);
    const QString japanese = japaneseFamily();
    if (!japanese.isEmpty())
        fonts_.insert(kJapanese, SizedFont(QFont(japanese), kInitialPointSize));
    loadEncodeFontDictionaryOfNumber(int(kLanguageCount));
}

void CodingFonts::loadEncodeFontDictionaryOfNumber(int n)
{
    const std::optional<QJsonArray> numbers = defaults_.arrayForKey(kCodeNumbers);
    if (!numbers || numbers->size() > n)
        return;
    const QJsonArray names = defaults_.arrayForKey(kFontNames).value_or(QJsonArray());
    const QJsonArray sizes = defaults_.arrayForKey(kFontSizes).value_or(QJsonArray());
    for (qsizetype i = 0; i < numbers->size(); ++i) {
        const double number = numbers->at(i).toDouble(-1);
        if (i >= names.size() || i >= sizes.size() || number < 1 || number > kLanguageCount
            || std::floor(number) != number)
            continue;
        const double size = sizes.at(i).toDouble(-1);
        if (!names.at(i).isString() || !(size > 0 && size <= kLargestPointSize))
            continue;
        if (const std::optional<QFont> font = FontFromName(names.at(i).toString(), size))
            fonts_.insert(uint32_t(number), *font);
    }
}

void CodingFonts::terminate()
{
    QJsonArray numbers, names, sizes;
    for (uint32_t language : coding_.codeArray()) {
        const std::optional<QFont> font = fontOfLanguage(language);
        if (!font)
            continue;
        numbers.append(qint64(language));
        names.append(FontNameOf(*font));
        sizes.append(font->pointSizeF());
    }
    defaults_.setArray(kCodeNumbers, numbers);
    defaults_.setArray(kFontNames, names);
    defaults_.setArray(kFontSizes, sizes);
}

std::optional<QFont> CodingFonts::fontOfLanguage(uint32_t language) const
{
    const auto it = fonts_.constFind(language);
    if (it == fonts_.constEnd())
        return std::nullopt;
    return *it;
}

void CodingFonts::setFontOfLanguage(uint32_t language, const QFont &font)
{
    if (language >= 1 && language <= kLanguageCount)
        fonts_.insert(language, font);
}

std::optional<QFont> CodingFonts::fontFromEncode(uint32_t code) const
{
    const uint32_t language = coding_.languageOfCode(code);
    if (language == 0)
        return std::nullopt;
    return fontOfLanguage(language);
}

} // namespace wex
