#include "MailCommands.h"

#include "BrowserTextView.h"
#include "Launcher.h"
#include "MailContents.h"
#include "MailName.h"
#include "MailTitles.h"
#include "JournaledMove.h"
#include "SafeMove.h"

#include <QFile>
#include <QMainWindow>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <sys/stat.h>

// The pause after each mail handed over gives the receiving program time to
// start before the next mail arrives; it runs in the background here, so the
// windows stay live and the command keeps to the mails it copied at its start.

namespace wex {
namespace {

// A failure line stays long enough to be read, then clears.
constexpr int kMessageMs = 20000;
// The unread utility is nudged this long after mails were marked read, as
// when a mail is read by showing it.
constexpr int kUnreadCheckDelayMs = 1000;

bool Exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

QByteArray FolderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QString NameOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return QFile::decodeName(slash < 0 ? path : path.mid(slash + 1));
}

} // namespace

MailCommands::MailCommands(MailTitles &titles, MailContents &contents, QMainWindow &titleWindow, Journal *journal,
                           QObject *parent)
    : QObject(parent), titles_(titles), contents_(contents), journal_(journal), titleWindow_(titleWindow)
{
}

MailCommands::~MailCommands() = default;

void MailCommands::report(const QString &message)
{
    lastMessage_ = message;
    titleWindow_.statusBar()->showMessage(message, kMessageMs);
}

void MailCommands::handOver(const std::vector<SelectedMail> &mails,
                            std::function<HandOverSequence::Step(const SelectedMail &)> step)
{
    if (mails.empty())
        return;
    ++running_;
    HandOverSequence *sequence = HandOverSequence::start(
        int(mails.size()), [mails, step](int index) { return step(mails[size_t(index)]); }, this);
    connect(sequence, &HandOverSequence::finished, this, [this] {
        --running_;
        emit handOverFinished();
    });
}

HandOverSequence::Step MailCommands::replyOne(const SelectedMail &mail, const QString &composer)
{
    QByteArray handed = mail.path;
    if (!mail.replied) {
        const QByteArray to = mailname::withoutExtension(mail.path).toByteArray() + '.' + kReplyExtension;
        const MoveOutcome outcome = JournaledMove(journal_, mail.path, to, ChangeKind::Replied);
        if (outcome.ok()) {
            const int row = titles_.followRename(mail.path, to);
            if (Title *title = titles_.titleAt(row)) {
                // Read as well: answering a mail means it was read, and a
                // later look at it must not rename the reply mark away.
                title->setReplyState(true);
                title->setUnreadState(false);
                titles_.titleChanged(row);
            }
            handed = to;
        } else {
            report(tr("Not marked replied: %1 (%2)").arg(outcome.message, NameOf(mail.path)));
            // The composer gets the mail under the name it has now.
            if (!Exists(mail.path) && Exists(to))
                handed = to;
        }
    }
    const LaunchResult started = Launcher::openFileWithApplication(handed, composer);
    if (!started.ok()) {
        report(started.reason);
        return HandOverSequence::Step::Stop;
    }
    return HandOverSequence::Step::HandedOver;
}

void MailCommands::reply()
{
    const std::vector<SelectedMail> mails = titles_.selectedMails();
    if (mails.empty())
        return;
    const QString composer = Launcher::suiteApplication(QString::fromLatin1(kComposer));
    // No mail is renamed for a composer that cannot be started.
    if (Launcher::executableOf(composer).isEmpty()) {
        report(Launcher::launchApplication(composer).reason);
        return;
    }
    handOver(mails, [this, composer](const SelectedMail &mail) { return replyOne(mail, composer); });
}

void MailCommands::launch(const QString &program)
{
    const LaunchResult started = Launcher::launchApplication(program);
    if (!started.ok())
        report(started.reason);
}

void MailCommands::newMail() { launch(Launcher::suiteApplication(QString::fromLatin1(kComposer))); }

void MailCommands::search()
{
    const LaunchResult started = Launcher::launchApplication(Launcher::suiteApplication(QString::fromLatin1(kSeek)));
    if (!started.ok())
        report(tr("%1 Mail > Find in Store... searches the store without it.").arg(started.reason));
}

void MailCommands::addressBook()
{
    const QString entry = Launcher::settingsApplication(QString::fromLatin1(kAddressBookEntry));
    launch(entry.isEmpty() ? QString::fromLatin1(kDesktopAddressBook) : entry);
}

void MailCommands::openByMailReader()
{
    const std::vector<SelectedMail> mails = titles_.selectedMails();
    if (mails.empty())
        return;
    const QString reader = Launcher::settingsApplication(QString::fromLatin1(kMailReaderEntry));
    if (reader.isEmpty()) {
        report(tr("No mail reader: \"%1\" in the settings folder is missing or cannot be resolved.")
                   .arg(QString::fromLatin1(kMailReaderEntry)));
        return;
    }
    handOver(mails, [this, reader](const SelectedMail &mail) {
        const LaunchResult started = Launcher::openFileWithApplication(mail.path, reader);
        if (!started.ok()) {
            report(started.reason);
            return HandOverSequence::Step::Stop;
        }
        return HandOverSequence::Step::HandedOver;
    });
}

void MailCommands::launchURL()
{
    handOver(titles_.selectedMails(), [this](const SelectedMail &mail) {
        const LaunchResult started = Launcher::openFile(mail.path);
        if (!started.ok()) {
            report(started.reason);
            return HandOverSequence::Step::Stop;
        }
        return HandOverSequence::Step::HandedOver;
    });
}

void MailCommands::showMail()
{
    QList<QByteArray> files;
    for (const SelectedMail &mail : titles_.selectedMails())
        files << mail.path;
    if (files.isEmpty())
        return;
    Launcher::revealFiles(files, this, [this](const LaunchResult &result) {
        if (!result.ok())
            report(result.reason);
    });
}

QMessageBox *MailCommands::confirmWindow() const { return confirm_; }

void MailCommands::deleteMail()
{
    if (confirm_)
        return;
    // The mails are taken now: what is confirmed is what goes.
    const std::vector<SelectedMail> mails = titles_.selectedMails();
    if (mails.empty())
        return;
    const int count = int(mails.size());
    QMessageBox box(QMessageBox::Warning, tr("Delete Mails"),
                    count == 1 ? tr("Delete 1 mail?") : tr("Delete %1 mails?").arg(count), QMessageBox::NoButton,
                    &titleWindow_);
    box.setObjectName(QStringLiteral("confirmWindow"));
    box.setInformativeText(tr("Deleted mails are removed from the store for good."));
    QPushButton *yes = box.addButton(tr("Delete"), QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    confirm_ = &box;
    box.exec();
    confirm_ = nullptr;
    if (box.clickedButton() == yes)
        deleteMailYes(mails);
}

void MailCommands::deleteMailYes(const std::vector<SelectedMail> &mails)
{
    std::vector<int> deleted;
    int last = -1; // the row of the last mail deleted, in the list before the removal
    int failed = 0;
    QString firstFailure, leftover;
    QSet<QByteArray> cleared; // folders whose old debris went
    for (const SelectedMail &mail : mails) {
        const int row = titles_.find(mail);
        const Title *title = titles_.titleAt(row);
        if (!title) {
            if (failed++ == 0)
                firstFailure = tr("Not deleted: the mail is no longer in the list (%1)").arg(NameOf(mail.path));
            continue;
        }
        // An attachment folder goes whole, never its main text alone.
        const QByteArray target = title->archiveState() ? FolderOf(title->path()) : title->path();
        const QByteArray folder = FolderOf(target);
        if (!cleared.contains(folder)) {
            ClearMoveLeftovers(folder, true); // no move of this process runs now
            cleared.insert(folder);
        }
        const MoveOutcome outcome = SafeRemove(target);
        if (outcome.ok() && !outcome.message.isEmpty() && leftover.isEmpty())
            leftover = outcome.message;
        if (!outcome.ok()) {
            if (failed++ == 0)
                firstFailure = tr("Not deleted: %1 (%2)").arg(outcome.message, NameOf(target));
            continue;
        }
        deleted.push_back(row);
        last = row;
    }
    if (!deleted.empty()) {
        // No mail shows while the rows go; then the mail that followed the
        // last one deleted (or the new last row) is selected.
        const int before = int(std::count_if(deleted.begin(), deleted.end(), [last](int row) { return row < last; }));
        titles_.removeRows(deleted);
        titles_.selectAndShow(last - before, MailTitles::Reveal::None);
    }
    if (failed == 1)
        report(firstFailure);
    else if (failed > 1)
        report(tr("%1 mails were not deleted. %2").arg(failed).arg(firstFailure));
    else if (!leftover.isEmpty())
        report(tr("Deleted, but hidden debris was left: %1").arg(leftover));
}

void MailCommands::makeRead()
{
    bool marked = false;
    int failed = 0;
    QString firstFailure;
    const quint64 step = NewJournalStep(journal_); // the selection is taken back as one
    for (const SelectedMail &mail : titles_.selectedMails()) {
        const int row = titles_.find(mail);
        Title *title = titles_.titleAt(row);
        if (!title || !title->unreadState())
            continue;
        const QByteArray before = title->path();
        const MoveOutcome outcome = title->makeRead(journal_, step);
        if (!outcome.ok()) {
            if (failed++ == 0)
                firstFailure = tr("Not marked read: %1 (%2)").arg(outcome.message, NameOf(before));
            continue;
        }
        marked = true;
        titles_.titleChanged(row);
        if (titles_.shownPath() == before)
            titles_.setShownPath(title->path());
    }
    if (failed == 1)
        report(firstFailure);
    else if (failed > 1)
        report(tr("%1 mails were not marked read. %2").arg(failed).arg(firstFailure));
    if (marked)
        QTimer::singleShot(kUnreadCheckDelayMs, &contents_, &MailContents::launchUnread);
}

QString MailCommands::selectedMailText() const
{
    const BrowserTextView *view = &contents_.browserTextView();
    // selectedText() ends paragraphs in U+2029; a printed line ends in "\n".
    QString text = view->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void MailCommands::printSelectionTo(QPrinter *printer)
{
    BrowserTextView *view = &contents_.browserTextView();
    if (!printer)
        return;
    view->hiddenText()->setPlainText(selectedMailText());
    view->hiddenText()->print(printer);
}

void MailCommands::printSelection()
{
    BrowserTextView *view = &contents_.browserTextView();
    QPrinter printer;
    QPrintDialog dialog(&printer, view->window());
    dialog.setWindowTitle(tr("Print Selection"));
    if (dialog.exec() == QDialog::Accepted)
        printSelectionTo(&printer);
}

} // namespace wex
