#include "Coding.h"
#include "CodingFonts.h"
#include "DefaultsStore.h"
#include "TestStore.h"

#include <QFontDatabase>
#include <QJsonArray>
#include <gtest/gtest.h>

using namespace wex;
using wex::test::TestDir;

namespace {

class CodingFontsTest : public ::testing::Test {
protected:
    CodingFontsTest() : defaults(dir.pathString() + "/defaults.json") {}

    static QString InstalledFamily()
    {
        const QStringList families = QFontDatabase::families();
        return families.isEmpty() ? QString() : families.first();
    }
    QFont initial(uint32_t language)
    {
        DefaultsStore empty(dir.pathString() + "/empty.json");
        return *CodingFonts(coding, empty).fontOfLanguage(language);
    }
    void save(const QJsonArray &numbers, const QJsonArray &names, const QJsonArray &sizes)
    {
        defaults.setArray("Code-Numbers", numbers);
        defaults.setArray("Font-Names", names);
        defaults.setArray("Font-Sizes", sizes);
    }

    TestDir dir;
    Coding coding;
    DefaultsStore defaults;
};

} // namespace

TEST_F(CodingFontsTest, EveryLanguageAndCodeHasAFont)
{
    CodingFonts fonts(coding, defaults);
    for (uint32_t language = 1; language <= kLanguageCount; ++language)
        EXPECT_TRUE(fonts.fontOfLanguage(language)) << language;
    EXPECT_FALSE(fonts.fontOfLanguage(0));
    EXPECT_FALSE(fonts.fontOfLanguage(19));
    // Japanese mail gets a family that can show it, where one is installed.
    const QString japanese = CodingFonts::japaneseFamily();
    if (!japanese.isEmpty()) {
        EXPECT_EQ(fonts.fontOfLanguage(3)->family(), japanese);
        EXPECT_TRUE(QFontDatabase::families(QFontDatabase::Japanese).contains(japanese)) << japanese.toStdString();
    }
    const uint32_t sjis = *coding.codeForName("ShiftJIS");
    EXPECT_EQ(fonts.fontFromEncode(sjis), fonts.fontOfLanguage(coding.languageOfCode(sjis)));
    EXPECT_FALSE(fonts.fontFromEncode(0));
    EXPECT_FALSE(fonts.fontFromEncode(62));
}

TEST_F(CodingFontsTest, SavedFontsApplyOnlyWhereUsable)
{
    const QString family = InstalledFamily();
    ASSERT_FALSE(family.isEmpty());
    save({1, 2, 4, 5, 6, 99, 8, 9},
         {family, "No Such Font Family XYZ", family, 42, family, family, family},
         {20.5, 11, -3, 12, 13, 14, "big", 15});
    CodingFonts fonts(coding, defaults);
    EXPECT_EQ(fonts.fontOfLanguage(1)->family(), family);
    EXPECT_EQ(fonts.fontOfLanguage(1)->pointSizeF(), 20.5);
    EXPECT_EQ(fonts.fontOfLanguage(2), initial(2)) << "an uninstalled family";
    EXPECT_EQ(fonts.fontOfLanguage(4), initial(4)) << "a size below zero";
    EXPECT_EQ(fonts.fontOfLanguage(5), initial(5)) << "a name that is no string";
    EXPECT_EQ(fonts.fontOfLanguage(6)->pointSizeF(), 13.0);
    EXPECT_EQ(fonts.fontOfLanguage(8), initial(8)) << "a size that is no number";
    EXPECT_EQ(fonts.fontOfLanguage(9), initial(9)) << "beyond the names array";
}

TEST_F(CodingFontsTest, MoreEntriesThanLanguagesAreIgnoredAsAWhole)
{
    const QString family = InstalledFamily();
    QJsonArray numbers, names, sizes;
    for (int i = 0; i < 19; ++i) {
        numbers.append(i % 18 + 1);
        names.append(family);
        sizes.append(30);
    }
    save(numbers, names, sizes);
    CodingFonts fonts(coding, defaults);
    for (uint32_t language = 1; language <= kLanguageCount; ++language)
        EXPECT_EQ(fonts.fontOfLanguage(language)->pointSizeF(), 14.0) << language;

    numbers.removeLast();
    save(numbers, names, sizes);
    EXPECT_EQ(CodingFonts(coding, defaults).fontOfLanguage(18)->pointSizeF(), 30.0) << "18 entries apply";
}

TEST_F(CodingFontsTest, TerminateSavesInCodeArrayOrderAndRoundTrips)
{
    const QString family = InstalledFamily();
    {
        CodingFonts fonts(coding, defaults);
        fonts.setFontOfLanguage(7, [&] { QFont f(family); f.setPointSizeF(17.5); return f; }());
        fonts.terminate();
    }
    const QJsonArray numbers = *defaults.arrayForKey("Code-Numbers");
    const QJsonArray names = *defaults.arrayForKey("Font-Names");
    const QJsonArray sizes = *defaults.arrayForKey("Font-Sizes");
    ASSERT_EQ(numbers.size(), qsizetype(coding.codeArray().size()));
    ASSERT_EQ(names.size(), numbers.size());
    ASSERT_EQ(sizes.size(), numbers.size());
    for (qsizetype i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i].toInteger(), qint64(coding.codeArray()[i]));

    CodingFonts again(coding, defaults);
    EXPECT_EQ(again.fontOfLanguage(7)->family(), family);
    EXPECT_EQ(again.fontOfLanguage(7)->pointSizeF(), 17.5);
    EXPECT_EQ(again.fontOfLanguage(3)->family(), initial(3).family());
}
