// The font table of the preferences window and the font dialog it opens.
#include "AppTestSupport.h"
#include "FontName.h"
#include "FontTable.h"
#include "FontTableModel.h"
#include "ReadingFixture.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QTest>

namespace wex::test {
namespace {

// An installed bold face that the font system really resolves (not a style
// it would only synthesize), so that keeping only the family would show. The
// fonts come from the project's dependencies; the first family that has one
// is taken, whatever this machine has.
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
