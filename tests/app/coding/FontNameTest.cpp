#include "FontName.h"

#include <QFontDatabase>
#include <QStringList>
#include <gtest/gtest.h>

namespace wex {
namespace {

TEST(FontName, PlainFacesAreTheFamilyAloneOthersCarryTheirStyle)
{
    const QString family = QFontDatabase::families().value(0);
    ASSERT_FALSE(family.isEmpty());
    QFont plain(family);
    EXPECT_EQ(FontNameOf(plain), family);
    QFont bold(family);
    bold.setBold(true);
    EXPECT_EQ(FontNameOf(bold), family + QStringLiteral(":style=Bold"));

    // Names of the family alone, as older versions saved them, still read.
    const std::optional<QFont> read = FontFromName(family, 12.5);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->family(), family);
    EXPECT_EQ(read->pointSizeF(), 12.5);
    EXPECT_FALSE(read->bold());
    const std::optional<QFont> unknownStyle = FontFromName(family + QStringLiteral(":style=No Such Style"), 12);
    ASSERT_TRUE(unknownStyle) << "the nearest face of the family";
    EXPECT_EQ(unknownStyle->family(), family);

    for (const QString &name : {QString(), QStringLiteral(":style=Bold"), QStringLiteral("No Such Family XYZ"),
                                QStringLiteral("No Such Family XYZ:style=Bold")})
        EXPECT_FALSE(FontFromName(name, 12)) << name.toStdString();
}

TEST(FontName, ColonsAndBackslashesInAFamilyAreEscaped)
{
    QFont font(QStringLiteral("A:B\\C"));
    font.setItalic(true);
    EXPECT_EQ(FontNameOf(font), QStringLiteral("A\\:B\\\\C:style=Italic"));
}

} // namespace
} // namespace wex
