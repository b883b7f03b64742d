// The font of each language group: initial, and restored where usable (saving is the font table test's).
#include "Coding.h"
#include "CodingFonts.h"
#include "DefaultsStore.h"
#include "TestStore.h"

#include <QFontDatabase>
#include <QJsonArray>
#include <gtest/gtest.h>

namespace wex::test {
namespace {

class CodingFontsTest : public ::testing::Test {
protected:
    QFont initial(uint32_t language) const
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
    DefaultsStore defaults{dir.pathString() + "/defaults.json"};
    const QString family = QFontDatabase::families().value(0);
};

TEST_F(CodingFontsTest, SavedFontsApplyOnlyWhereUsable)
{
    ASSERT_FALSE(family.isEmpty());
    save({1, 2, 4, 5, 6, 99, 8, 9}, {family, "No Such Font Family XYZ", family, 42, family, family, family},
         {20.5, 11, -3, 12, 13, 14, "big", 15});
    const CodingFonts fonts(coding, defaults);
    EXPECT_EQ(fonts.fontOfLanguage(1)->family(), family);
    EXPECT_EQ(fonts.fontOfLanguage(1)->pointSizeF(), 20.5);
    EXPECT_EQ(fonts.fontOfLanguage(6)->pointSizeF(), 13.0);
    // An uninstalled family, a size below zero, a name that is no string, a
    // size that is no number, an entry beyond the names array.
    for (const uint32_t language : {2, 4, 5, 8, 9})
        EXPECT_EQ(fonts.fontOfLanguage(language), initial(language)) << language;

    // More entries than languages are ignored as a whole.
    QJsonArray numbers, names, sizes;
    for (int i = 0; i < 19; ++i) {
        numbers.append(i % 18 + 1);
        names.append(family);
        sizes.append(30);
    }
    save(numbers, names, sizes);
    EXPECT_EQ(CodingFonts(coding, defaults).fontOfLanguage(18), initial(18));
    numbers.removeLast();
    save(numbers, names, sizes);
    EXPECT_EQ(CodingFonts(coding, defaults).fontOfLanguage(18)->pointSizeF(), 30.0) << "18 entries apply";
}

} // namespace
} // namespace wex::test
