// The mail text view: what printing leaves out; a long text shown in pieces.
#include "BrowserTextView.h"
#include "TestStore.h"
#include "Wait.h"

#include <QPrinter>
#include <gtest/gtest.h>

namespace wex::test {

TEST(PrintableText, LeavesOutTheRealHeadersAndTheFiveCharactersBeforeThem)
{
    const QString marker = QStringLiteral("<!-- Real Mail Headers -->");
    EXPECT_EQ(PrintableText("Hello\n" + marker.chopped(1)), "Hello\n" + marker.chopped(1)) << "no whole marker";
    EXPECT_EQ(PrintableText("123456" + marker + "\nReceived: x\n"), "1");
    EXPECT_EQ(PrintableText("12" + marker + "tail"), "") << "within the first five";
    EXPECT_EQ(PrintableText("abcdefgh" + marker + "x" + marker), "abc") << "the first marker counts";
}

TEST(BrowserTextView, ALongTextArrivesInPiecesYetPrintsWholeAndANewTextReplacesIt)
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

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.pathString() + "/out.pdf");
    view.printTo(&printer);
    EXPECT_EQ(view.hiddenText()->toPlainText(), PrintableText(text));

    ASSERT_TRUE(WaitUntil([&] { return !view.isLoading(); }));
    EXPECT_EQ(view.toPlainText(), text);
    EXPECT_EQ(view.textCursor().position(), 0) << "still at the start";

    view.showText(text);
    view.showText(QStringLiteral("short\n"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.isLoading());
    EXPECT_EQ(view.toPlainText(), QStringLiteral("short\n"));
}

} // namespace wex::test
