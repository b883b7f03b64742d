#include "MailContents.h"

#include "BrowserTextView.h"
#include "Coding.h"
#include "CodingFonts.h"
#include "KeyController.h"
#include "MailTitles.h"
#include "PathUtils.h"
#include "ShellCommand.h"
#include "TextDecoder.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTimer>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

MailContents::MailContents(const Coding &coding, CodingFonts &fonts, QObject *parent)
    : QObject(parent), coding_(coding), fonts_(fonts), decoder_(std::make_unique<TextDecoder>())
{
}

MailContents::~MailContents()
{
    // The pending check dies with this controller's timer: drop its mark, or no
    // check could ever be scheduled again.
    if (scheduledCheck_)
        unreadUtilRunning = 0;
}

bool MailContents::unreadCheckPending() { return unreadUtilRunning != 0; }

void MailContents::setMailTitles(MailTitles *t) { titles_ = t; }
void MailContents::setContentsWindow(QWidget *w) { window_ = w; }
void MailContents::setTextView(QPlainTextEdit *templateView) { template_ = templateView; }
BrowserTextView *MailContents::browserTextView() const { return view_; }
const QByteArray &MailContents::currentPathString() const { return currentPath_; }
void MailContents::setCurrentPathString(const QByteArray &p) { currentPath_ = p; }
QString MailContents::notice() const { return notice_; }

void MailContents::setKeyController(KeyController *k)
{
    keys_ = k;
    if (view_)
        view_->setKeyController(k);
}

void MailContents::setTitleTable(QTableView *t)
{
    table_ = t;
    if (view_)
        connectSelection();
}

void MailContents::connectSelection()
{
    QItemSelectionModel *model = table_ ? table_->selectionModel() : nullptr;
    if (model == followed_)
        return;
    disconnect(selectionConnection_);
    followed_ = model;
    if (model)
        selectionConnection_ = connect(model, &QItemSelectionModel::selectionChanged, this,
                                       [this] { reloadContents(); });
}

void MailContents::registerAndReplaceTextView()
{
    if (view_)
        return;
    QWidget *parent = template_ ? template_->parentWidget() : window_.data();
    view_ = new BrowserTextView(parent);
    if (template_) {
        view_->setFont(template_->font());
        view_->setGeometry(template_->geometry());
        if (parent && parent->layout())
            delete parent->layout()->replaceWidget(template_, view_); // the placeholder's item is ours
        template_->hide();
    } else if (parent) {
        if (parent->layout())
            parent->layout()->addWidget(view_);
        else
            view_->setGeometry(parent->rect());
    }
    view_->setKeyController(keys_);
    if (keys_)
        keys_->setBrowserTextView(view_);
    view_->show();
    view_->setFocus();
    connectSelection();
}

int MailContents::selectedRow() const
{
    if (titles_)
        return titles_->selectedRow();
    if (!followed_)
        return -1;
    const QModelIndexList rows = followed_->selectedRows();
    return rows.isEmpty() ? -1 : rows.last().row();
}

void MailContents::reloadContents()
{
    connectSelection();
    const int row = selectedRow();
    Title *title = (titles_ && row >= 0) ? titles_->titleAt(row) : nullptr;
    if (!title) {
        setWindowTitle(tr("No Mail"));
        showText(QString(), QString());
        currentPath_.clear();
        return;
    }
    if (title->unreadState()) {
        // A failed rename leaves the title unread under its old path; the mail
        // is shown all the same.
        title->makeRead();
        titles_->titleChanged(row);
        scheduleUnreadCheck();
    }
    const QByteArray path = title->path();
    const uint32_t code = title->code();
    setWindowTitle(title->subject());
    contentsAtPathString(path, coding_.fileCodeFromCode(code));
    std::optional<QFont> font = fonts_.fontFromEncode(code);
    if (!font)
        font = fonts_.fontFromEncode(coding_.defaultCode());
    if (font && view_)
        view_->setFont(*font);
    currentPath_ = path;
}

void MailContents::contentsAtPathString(const QByteArray &path, uint32_t encoding)
{
    // Opened by its bytes (a name need not be valid UTF-8), without blocking,
    // and only when it is a regular file: a FIFO or a device would never end.
    const int fd = path.contains('\0') ? -1 : ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        showText(QString(), tr("This mail could not be read"));
        return;
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (info.st_size > kMaxMailBytes) {
        showText(QString(), tr("This mail is too large to show"));
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        showText(QString(), tr("This mail could not be read"));
        return;
    }
    std::optional<QString> text = decoder_->decode(bytes, encoding);
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
    if (!view_)
        return;
    view_->setPlaceholderText(notice);
    view_->showText(text);
}

void MailContents::setWindowTitle(const QString &title)
{
    if (window_)
        window_->setWindowTitle(title);
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
