// English again when a catalogue is damaged or a translation is blank.
#include "Translations.h"
#include "CoreTest.h"

#include <QCoreApplication>
#include <QProcess>

class TranslationsTest : public ::testing::Test {
protected:
    void TearDown() override { RemoveTranslations(); }
    static QString menuTitle() { return QCoreApplication::translate("wex::MenuController", "File"); }
};

TEST_F(TranslationsTest, ADamagedCatalogueKeepsEnglish)
{
    const TestDir dir;
    for (const QByteArray &bytes : {QByteArray(), QByteArray("not a catalogue"), QByteArray(64, '\xff')}) {
        dir.write("wex-browser_ja.qm", bytes);
        EXPECT_EQ(InstallTranslations(QLocale(QStringLiteral("ja_JP")), dir.pathString()), QString());
        EXPECT_EQ(menuTitle(), QStringLiteral("File"));
    }
}

TEST_F(TranslationsTest, ABlankTranslationGivesWayToEnglish)
{
    const QString lrelease = QStringLiteral(WEX_LRELEASE_PATH);
    if (lrelease.isEmpty())
        GTEST_SKIP() << "built without lrelease";
    const TestDir dir;
    dir.write("wex-browser_ja.ts",
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
              "<TS version=\"2.1\" language=\"ja\" sourcelanguage=\"en\"><context><name>wex::MenuController</name>\n"
              "<message><source>File</source><translation> &amp; </translation></message>\n"
              "<message><source>Mail</source><translation>メール</translation></message>\n"
              "</context></TS>\n");
    QProcess compile;
    compile.start(lrelease, {QStringLiteral("-silent"), dir.pathString() + QStringLiteral("/wex-browser_ja.ts")});
    ASSERT_TRUE(compile.waitForFinished(60000));
    ASSERT_EQ(compile.exitCode(), 0) << compile.readAllStandardError().toStdString();

    EXPECT_EQ(InstallTranslations(QLocale(QStringLiteral("ja_JP")), dir.pathString()), QStringLiteral("ja"));
    EXPECT_EQ(QCoreApplication::translate("wex::MenuController", "Mail"), QStringLiteral("メール"));
    EXPECT_EQ(menuTitle(), QStringLiteral("File"));
}

