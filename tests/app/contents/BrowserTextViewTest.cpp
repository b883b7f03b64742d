#include "BrowserTextView.h"
#include "TestStore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPrinter>
#include <gtest/gtest.h>

using namespace wex;
using wex::test::TestDir;

TEST(PrintableText, LeavesOutTheRealHeadersAndTheFiveCharactersBeforeThem)
{
    const QString marker = QStringLiteral("<!-- Real Mail Headers -->");
    const struct {
        QString text;
        QString printed;
    } cases[] = {
        {"Hello\nworld\n", "Hello\nworld\n"},                       // no marker: all of it
        {"", ""},
        {"Body text\n\n<br>\n" + marker + "\nReceived: x\n", "Body text\n\n"},
        {"123456" + marker, "1"},                                    // P = 6
        {"12345" + marker, ""},                                      // P = 5
        {"12" + marker + "tail", ""},                                // within the first five
        {marker + "\nReceived: x", ""},                              // P = 0
        {"abcdefgh" + marker + "x" + marker, "abc"},                 // the first marker counts
        {"<!-- Real Mail Headers --", "<!-- Real Mail Headers --"}, // not the whole marker
    };
    for (const auto &c : cases)
        EXPECT_EQ(PrintableText(c.text), c.printed) << c.text.toStdString();
}

TEST(BrowserTextView, PrintsThroughTheHiddenTextAndLeavesTheViewAlone)
{
    TestDir dir;
    BrowserTextView view;
    const QString text = QStringLiteral("Dear reader,\nthe body.\n\n<hr>\n<!-- Real Mail Headers -->\nReceived: by x\n");
    view.setPlainText(text);
    view.selectAll();
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.pathString() + "/out.pdf");
    view.printTo(&printer);
    EXPECT_GT(QFileInfo(dir.pathString() + "/out.pdf").size(), 0);
    EXPECT_EQ(view.hiddenText()->toPlainText(), QStringLiteral("Dear reader,\nthe body.\n\n"));
    EXPECT_FALSE(view.hiddenText()->isVisible());
    EXPECT_EQ(view.toPlainText(), text);
    EXPECT_EQ(view.textCursor().selectedText().size(), text.size());
}

TEST(BrowserTextView, ALongTextArrivesInPiecesAndWhole)
{
    TestDir dir;
    BrowserTextView view;
    QString text;
    for (int i = 0; text.size() < 300 * 1000; ++i)
        text += QStringLiteral("line %1 of a long mail \u3042\U0001F600\n").arg(i);
    text += QStringLiteral("<!-- Real Mail Headers -->\nReceived: by x\n");
    view.showText(text);
    ASSERT_TRUE(view.isLoading());
    EXPECT_LT(view.toPlainText().size(), text.size());
    EXPECT_EQ(view.fullText(), text);

    // Printing while the end is still arriving prints the whole text.
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.pathString() + "/out.pdf");
    view.printTo(&printer);
    EXPECT_EQ(view.hiddenText()->toPlainText(), PrintableText(text));

    for (int i = 0; i < 1000 && view.isLoading(); ++i)
        QCoreApplication::processEvents();
    EXPECT_FALSE(view.isLoading());
    EXPECT_EQ(view.toPlainText(), text);
    EXPECT_EQ(view.textCursor().position(), 0); // still at the start

    // A new text replaces one still arriving.
    view.showText(text);
    view.showText(QStringLiteral("short\n"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.isLoading());
    EXPECT_EQ(view.toPlainText(), QStringLiteral("short\n"));
}
