// Fonts: names as saved, each language group's font restored where usable, and the font table with its dialog.
#include "FontName.h"
#include "FontTable.h"
#include "FontTableModel.h"
#include "ReadingFixture.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QJsonArray>

namespace wex::test {
namespace {

TEST(FontName, PlainFacesAreTheFamilyAloneOthersCarryTheirStyleEscaped)
{
    const QString family = QFontDatabase::families().value(0);
    ASSERT_FALSE(family.isEmpty());
    QFont bold(family);
    bold.setBold(true);
    EXPECT_EQ(FontNameOf(QFont(family)), family);
    EXPECT_EQ(FontNameOf(bold), family + QStringLiteral(":style=Bold"));
    // Names of the family alone (as older versions saved them) and of a style the family lacks still read.
    for (const QString &name : {family, family + QStringLiteral(":style=No Such Style")}) {
        const std::optional<QFont> read = FontFromName(name, 12.5);
        ASSERT_TRUE(read) << name.toStdString();
        EXPECT_EQ(read->family() + QString::number(read->pointSizeF()), family + QStringLiteral("12.5"));
    }
    for (const QString &name : {QString(), QStringLiteral(":style=Bold"), QStringLiteral("No Such Family XYZ:style=Bold")})
        EXPECT_FALSE(FontFromName(name, 12)) << name.toStdString();
    QFont font(QStringLiteral("A:B\\C")); // colons and backslashes in a family are escaped
    font.setItalic(true);
    EXPECT_EQ(FontNameOf(font), QStringLiteral("A\\:B\\\\C:style=Italic"));
}

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
    // An uninstalled family, a size below zero, a name no string, a size no number, an entry beyond the names.
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

// An installed bold face the font system really resolves (not synthesizes), so keeping only the family would show.
QFont BoldFace(double pointSize)
{
    for (const QString &family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isSmoothlyScalable(family))
            continue;
        for (const QString &style : QFontDatabase::styles(family)) {
            if (!QFontDatabase::bold(family, style) || QFontDatabase::italic(family, style))
                continue;
            QFont font = QFontDatabase::font(family, style, int(pointSize));
            font.setPointSizeF(pointSize);
            const QFontInfo resolved(font);
            if (resolved.family() == family && resolved.bold() && !resolved.italic())
                return font;
        }
    }
    return QFont();
}

TEST(FontTable, AChosenFaceShowsTheNextMailAndSurvivesARestart)
{
    const QFont face = BoldFace(17);
    ASSERT_FALSE(face.family().isEmpty()) << "no bold face installed: scripts/install-deps.sh installs some";
    ReadingFixture f;
    QTableView view;
    FontTable table(f.coding, f.fonts, view);
    view.resize(500, 700);
    view.show();
    const uint32_t sjis = *f.coding.codeForName(QStringLiteral("ShiftJIS"));
    const uint32_t japanese = f.coding.languageOfCode(sjis);
    const int row = int(f.coding.codeArray().indexOf(japanese));
    f.setMails({{"0.mail", "one\n", false, QStringLiteral("one"), sjis}, {"1.mail", "two\n", false, QStringLiteral("two"), sjis}});
    f.select(0);
    const QFont before = f.view.font();
    const QModelIndex index = view.model()->index(row, FontTableModel::FontColumn);
    view.scrollTo(index);
    WhenModal<QFontDialog>([&](QFontDialog *d) { // cancelled: nothing changes
        d->setCurrentFont(face);
        d->reject();
    });
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
    EXPECT_EQ(*f.fonts.fontOfLanguage(japanese), before);
    // From the keyboard: Space and Return on the current row open it too.
    bool opened = false;
    WhenModal<QFontDialog>([&](QFontDialog *d) { opened = true, d->reject(); });
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_TRUE(opened);
    WhenModal<QFontDialog>([&](QFontDialog *d) {
        EXPECT_EQ(d->currentFont().family(), before.family());
        d->setCurrentFont(face);
        d->accept();
    });
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(f.view.font(), before) << "the mail on screen keeps its font";
    EXPECT_EQ(view.model()->index(row, FontTableModel::FontColumn).data().toString(), FontDisplayName(face));
    EXPECT_EQ(view.model()->index(row, FontTableModel::SizeColumn).data().toDouble(), 17.0);
    f.select(1);
    EXPECT_EQ(f.view.font().family(), face.family());
    EXPECT_TRUE(f.view.font().bold());

    f.fonts.terminate();
    const QFont again = *CodingFonts(f.coding, f.defaults).fontOfLanguage(japanese);
    EXPECT_EQ(again.family(), face.family());
    EXPECT_TRUE(again.bold());
    EXPECT_EQ(again.pointSizeF(), 17.0);
}

} // namespace
} // namespace wex::test
