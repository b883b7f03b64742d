#include "FontName.h"

#include <QFontDatabase>
#include <QStringList>
#include <gtest/gtest.h>

namespace wex {
namespace {

// The bold face's round trip through a restart is the font table test's.
TEST(FontName, PlainFacesAreTheFamilyAloneOthersCarryTheirStyle)
{
    const QString family = QFontDatabase::families().value(0);
    ASSERT_FALSE(family.isEmpty());
    QFont bold(family);
    bold.setBold(true);
    EXPECT_EQ(FontNameOf(QFont(family)), family);
    EXPECT_EQ(FontNameOf(bold), family + QStringLiteral(":style=Bold"));
    // Names of the family alone, as older versions saved them, and names of a
    // style the family lacks still read.
    for (const QString &name : {family, family + QStringLiteral(":style=No Such Style")}) {
        const std::optional<QFont> read = FontFromName(name, 12.5);
        ASSERT_TRUE(read) << name.toStdString();
        EXPECT_EQ(read->family() + QString::number(read->pointSizeF()), family + QStringLiteral("12.5"));
    }
    for (const QString &name : {QString(), QStringLiteral(":style=Bold"), QStringLiteral("No Such Family XYZ:style=Bold")})
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
