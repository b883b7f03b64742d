// The navigation commands of KeyController: four move through the shown
// mail's text, five move the title list's selection (selecting a row is what
// shows a mail).
#include "KeyController.h"

#include "BrowserTextView.h"
#include "MailTitles.h"

#include <QScrollBar>

namespace wex {

namespace {

// How far down the text is scrolled, 0.0 (top) to 1.0 (end). A text that fits
// in the view has nothing left to read, so it counts as scrolled to its end:
// Next Page then goes on to the next mail instead of doing nothing.
double ScrollPosition(const QScrollBar *bar)
{
    const int span = bar->maximum() - bar->minimum();
    if (span <= 0)
        return 1.0;
    return double(bar->value() - bar->minimum()) / double(span);
}

void Scroll(BrowserTextView &view, QAbstractSlider::SliderAction action)
{
    view.verticalScrollBar()->triggerAction(action);
}

} // namespace

void KeyController::nextPage()
{
    // A text whose end is still arriving is never at its end.
    if (view_.isLoading() || ScrollPosition(view_.verticalScrollBar()) < 0.99999)
        Scroll(view_, QAbstractSlider::SliderPageStepAdd);
    else
        nextMail();
}

void KeyController::prevPage() { Scroll(view_, QAbstractSlider::SliderPageStepSub); }
void KeyController::nextLine() { Scroll(view_, QAbstractSlider::SliderSingleStepAdd); }
void KeyController::prevLine() { Scroll(view_, QAbstractSlider::SliderSingleStepSub); }
void KeyController::nextMail() { titles_.readNextMail(); }
void KeyController::unreadMail() { titles_.readUnreadMail(); }

void KeyController::prevMail()
{
    // Deselected and selected again: on the first row the mail shows anew.
    titles_.selectAndShow(std::max(titles_.selectedRow() - 1, 0), MailTitles::Reveal::Visible, true);
}

void KeyController::nextPageMail()
{
    titles_.clearSelection();
    const auto [first, count] = titles_.visibleRows();
    // The last visible row comes to stand at the top.
    titles_.selectAndShow(first + count - 1, MailTitles::Reveal::Top);
}

void KeyController::prevPageMail()
{
    titles_.clearSelection();
    const auto [first, count] = titles_.visibleRows();
    // The row a page up comes to stand at the bottom.
    titles_.selectAndShow(std::max(first - count + 1, 0), MailTitles::Reveal::Bottom);
}

} // namespace wex
