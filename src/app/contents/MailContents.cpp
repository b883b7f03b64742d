#include "MailContents.h"

#include "BrowserTextView.h"
#include "Coding.h"
#include "CodingFonts.h"
#include "MailFile.h"
#include "MailTitles.h"
#include "PathUtils.h"
#include "ShellCommand.h"
#include "TextDecoder.h"

#include <QTimer>

// Showing a mail is one read and one decode; the view then shows the start
// of the text at once and appends the rest from the event loop, so a mail of
// several megabytes shows at once. A mail that cannot be
// shown leaves the view empty with a one-line notice in it (the view's
// placeholder text, which shows exactly while the text is empty).
//
// The unread-utility check runs its three fixed shell texts one after the
// other, each started when the previous one has ended, so the windows never
// wait for `ps`. Only one chain runs at a time; a check asked for meanwhile is
// covered by the chain in flight.

namespace wex {

namespace {

// 1 while a check of the unread-list utility is scheduled and has not fired yet.
int unreadUtilRunning = 0;

constexpr int kUnreadCheckDelayMs = 1000;

const QString kUnreadSteps[] = {
    QStringLiteral("ps xw | grep WEX.UnreadScan | grep -v grep > /dev/null"),
    QStringLiteral("ps xw | grep \"sleep 5\" | grep -v grep > /dev/null"),
    // The suite folder is $1, never part of the text.
    QStringLiteral("(sleep 5; nice java -cp \"$1\"/tools/WEX_kit.jar:/System/Library/Java/ WEX.UnreadScan)&"),
};

} // namespace

MailContents::MailContents(const Coding &coding, CodingFonts &fonts, MailTitles &titles, BrowserTextView &view,
                           QWidget &window, Journal *journal, QObject *parent)
    : QObject(parent),
      coding_(coding),
      fonts_(fonts),
      titles_(titles),
      view_(view),
      window_(window),
      journal_(journal),
      decoder_(std::make_unique<TextDecoder>())
{
    connect(&titles, &MailTitles::selectionChanged, this, &MailContents::reloadContents);
}

MailContents::~MailContents()
{
    // The pending check dies with this controller's timer: drop its mark, or no
    // check could ever be scheduled again.
    if (scheduledCheck_)
        unreadUtilRunning = 0;
}

bool MailContents::unreadCheckPending() { return unreadUtilRunning != 0; }

const QByteArray &MailContents::currentPathString() const { return titles_.shownPath(); }
QString MailContents::notice() const { return notice_; }

void MailContents::reloadContents()
{
    const int row = titles_.selectedRow();
    Title *title = row >= 0 ? titles_.titleAt(row) : nullptr;
    if (!title) {
        window_.setWindowTitle(tr("No Mail"));
        showText(QString(), QString());
        titles_.setShownPath(QByteArray());
        return;
    }
    if (title->unreadState()) {
        // A failed rename leaves the title unread under its old path; the mail
        // is shown all the same.
        title->makeRead(journal_);
        titles_.titleChanged(row);
        scheduleUnreadCheck();
    }
    const QByteArray path = title->path();
    const uint32_t code = title->code();
    window_.setWindowTitle(title->subject());
    contentsAtPathString(path, coding_.fileCodeFromCode(code));
    std::optional<QFont> font = fonts_.fontFromEncode(code);
    if (!font)
        font = fonts_.fontFromEncode(coding_.defaultCode());
    if (font)
        view_.setFont(*font);
    titles_.setShownPath(path);
}

void MailContents::contentsAtPathString(const QByteArray &path, uint32_t encoding)
{
    const MailFileBytes file = ReadMailFile(path, kMaxMailBytes);
    if (file.status != MailFileBytes::Read) {
        showText(QString(), file.status == MailFileBytes::TooLarge ? tr("This mail is too large to show")
                                                                   : tr("This mail could not be read"));
        return;
    }
    std::optional<QString> text = decoder_->decode(file.bytes, encoding);
    if (!text) {
        const char *name = ConverterNameForEncoding(encoding);
        showText(QString(), tr("This mail is not valid %1 text")
                                .arg(name ? QString::fromLatin1(name) : tr("unknown coding")));
        return;
    }
    showText(*text, QString());
}

void MailContents::showText(const QString &text, const QString &notice)
{
    notice_ = notice;
    view_.setPlaceholderText(notice);
    view_.showText(text);
}

void MailContents::scheduleUnreadCheck()
{
    if (unreadUtilRunning)
        return;
    unreadUtilRunning = 1;
    scheduledCheck_ = true;
    QTimer::singleShot(kUnreadCheckDelayMs, this, &MailContents::launchUnread);
}

void MailContents::launchUnread()
{
    unreadUtilRunning = 0;
    scheduledCheck_ = false;
    if (unreadChainRunning_)
        return;
    unreadChainRunning_ = true;
    runUnreadStep(0);
}

void MailContents::runUnreadStep(int step)
{
    const QPointer<MailContents> self(this);
    ShellCommand::run(kUnreadSteps[step], {SuiteFolder()}, [self, step](int status) {
        if (!self)
            return;
        // Status 0 of a probe: the utility, or a pending start of it, is running.
        if (step < 2 && status != 0)
            self->runUnreadStep(step + 1);
        else
            self->unreadChainRunning_ = false;
    }, this);
}

} // namespace wex
