// The font table of the preferences window and the font dialog it opens.
#include "FontName.h"
#include "FontTable.h"
#include "FontTableModel.h"
#include "ModalDriver.h"
#include "ReadingFixture.h"
#include "ShellTestSupport.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QTest>
#include <gtest/gtest.h>

namespace wex::test {
namespace {

// An installed face that is bold and italic, so that keeping only the family
// would show.
QFont BoldItalicFace(double pointSize)
{
    for (const QString &family : QFontDatabase::families())
        for (const QString &style : QFontDatabase::styles(family))
            if (QFontDatabase::bold(family, style) && QFontDatabase::italic(family, style)) {
                QFont font = QFontDatabase::font(family, style, int(pointSize));
                font.setPointSizeF(pointSize);
                return font;
            }
    return QFont();
}

class FontTableTest : public ::testing::Test {
protected:
    FontTableTest()
    {
        table.setFontTable(&view);
        view.resize(500, 700);
        view.show();
    }
    void clickRow(int row)
    {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                          view.visualRect(view.model()->index(row, FontTableModel::FontColumn)).center());
    }

    ReadingFixture f;
    QTableView view;
    FontTable table{f.coding, f.fonts};
};

TEST_F(FontTableTest, OneRowPerLanguageSortedByName)
{
    const QAbstractItemModel &model = *view.model();
    ModelChecker checker(view.model());
    EXPECT_EQ(checker.failures(), 0) << checker.firstFailure().toStdString();
    ASSERT_EQ(model.rowCount(), qsizetype(kLanguageCount));
    for (int row = 0; row < model.rowCount(); ++row) {
        const uint32_t language = f.coding.codeArray().at(row); // in name order
        const QFont font = *f.fonts.fontOfLanguage(language);
        EXPECT_EQ(model.index(row, FontTableModel::CodeColumn).data().toString(), f.coding.languageName(language));
        EXPECT_EQ(model.index(row, FontTableModel::FontColumn).data().toString(), font.family());
        EXPECT_EQ(model.index(row, FontTableModel::SizeColumn).data().toDouble(), 14.0);
    }
}

TEST_F(FontTableTest, AChosenFaceShowsTheNextMailAndSurvivesARestart)
{
    const QFont face = BoldItalicFace(17);
    if (face.family().isEmpty())
        GTEST_SKIP() << "no bold italic face installed";
    const uint32_t sjis = *f.coding.codeForName(QStringLiteral("ShiftJIS"));
    const uint32_t japanese = f.coding.languageOfCode(sjis);
    const int row = int(f.coding.codeArray().indexOf(japanese));
    f.setMails({{"0.mail", "one\n", false, QStringLiteral("one"), sjis},
                {"1.mail", "two\n", false, QStringLiteral("two"), sjis}});
    f.select(0);
    const QFont before = f.view()->font();

    // Cancelled: nothing changes.
    WhenModal<QFontDialog>([&](QFontDialog *d) {
        d->setCurrentFont(face);
        d->reject();
    });
    clickRow(row);
    EXPECT_EQ(*f.fonts.fontOfLanguage(japanese), before);

    WhenModal<QFontDialog>([&](QFontDialog *d) {
        EXPECT_EQ(d->currentFont().family(), before.family());
        d->setCurrentFont(face);
        d->accept();
    });
    clickRow(row);
    EXPECT_EQ(table.lastRow(), row);
    EXPECT_EQ(f.view()->font(), before) << "the mail on screen keeps its font";
    EXPECT_EQ(view.model()->index(row, FontTableModel::FontColumn).data().toString(), FontDisplayName(face));
    EXPECT_EQ(view.model()->index(row, FontTableModel::SizeColumn).data().toDouble(), 17.0);
    f.select(1);
    EXPECT_EQ(f.view()->font().family(), face.family());
    EXPECT_TRUE(f.view()->font().bold());
    EXPECT_NE(f.view()->font().style(), QFont::StyleNormal);

    f.fonts.terminate();
    EXPECT_TRUE(f.defaults.arrayForKey(QStringLiteral("Font-Names"))->at(row).toString().contains(QLatin1String(":style=")));
    const QFont again = *CodingFonts(f.coding, f.defaults).fontOfLanguage(japanese);
    EXPECT_EQ(again.family(), face.family());
    EXPECT_TRUE(again.bold());
    EXPECT_NE(again.style(), QFont::StyleNormal);
    EXPECT_EQ(again.pointSizeF(), 17.0);
}

} // namespace
} // namespace wex::test
