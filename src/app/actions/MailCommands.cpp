#include "MailCommands.h"

#include "BrowserTextView.h"
#include "Launcher.h"
#include "MailContents.h"
#include "MailName.h"
#include "MailTitles.h"
#include "SafeMove.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
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

MailCommands::MailCommands(QObject *parent) : QObject(parent) {}

MailCommands::~MailCommands() = default;

void MailCommands::setMailTitles(MailTitles *t) { titles_ = t; }
void MailCommands::setMailContents(MailContents *c) { contents_ = c; }

void MailCommands::setTitleWindow(QMainWindow *w)
{
    titleWindow_ = w;
    if (w)
        w->statusBar(); // made now, so the first message does not shift the table
}

QVector<int> MailCommands::selectedRows() const
{
    QVector<int> rows;
    const QTableView *table = titles_ ? titles_->table() : nullptr;
    if (!table || !table->selectionModel())
        return rows;
    for (const QModelIndex &index : table->selectionModel()->selectedRows())
        if (index.row() >= 0)
            rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QVector<MailCommands::Picked> MailCommands::pickSelected() const
{
    QVector<Picked> picked;
    if (!titles_)
        return picked;
    for (const int row : selectedRows())
        if (const Title *title = titles_->titleAt(row); title && !title->path().isEmpty())
            picked.push_back({title->path(), title->replyState() != 0, title->archiveState() != 0});
    return picked;
}

void MailCommands::report(const QString &message)
{
    lastMessage_ = message;
    if (titleWindow_)
        titleWindow_->statusBar()->showMessage(message, kMessageMs);
}

void MailCommands::handOver(const QVector<Picked> &mails, std::function<HandOverSequence::Step(const Picked &)> step)
{
    if (mails.isEmpty())
        return;
    ++running_;
    HandOverSequence *sequence = HandOverSequence::start(
        int(mails.size()), [mails, step](int index) { return step(mails[index]); }, this);
    connect(sequence, &HandOverSequence::finished, this, [this] {
        --running_;
        emit handOverFinished();
    });
}

void MailCommands::followRename(const QByteArray &from, const QByteArray &to, bool replied)
{
    if (titles_) {
        for (int row = 0; row < titles_->count(); ++row) {
            Title *title = titles_->titleAt(row);
            if (title->path() != from)
                continue;
            title->setPath(to);
            if (replied)
                title->setReplyState(true);
            titles_->titleChanged(row);
            break;
        }
    }
    // Only the mail on show follows: the view keeps naming the file it shows.
    if (contents_ && contents_->currentPathString() == from)
        contents_->setCurrentPathString(to);
}

HandOverSequence::Step MailCommands::replyOne(const Picked &mail, const QString &composer)
{
    QByteArray handed = mail.path;
    if (!mail.replied) {
        const QByteArray to = mailname::withoutExtension(mail.path).toByteArray() + '.' + kReplyExtension;
        const MoveOutcome outcome = SafeMove(mail.path, to);
        if (outcome.ok()) {
            followRename(mail.path, to, true);
            handed = to;
        } else {
            report(tr("%1 was not marked replied: %2").arg(NameOf(mail.path), outcome.message));
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
    const QVector<Picked> mails = pickSelected();
    if (mails.isEmpty())
        return;
    const QString composer = Launcher::suiteApplication(QString::fromLatin1(kComposer));
    // No mail is renamed for a composer that cannot be started.
    if (Launcher::executableOf(composer).isEmpty()) {
        report(Launcher::launchApplication(composer).reason);
        return;
    }
    handOver(mails, [this, composer](const Picked &mail) { return replyOne(mail, composer); });
}

void MailCommands::launch(const QString &program)
{
    const LaunchResult started = Launcher::launchApplication(program);
    if (!started.ok())
        report(started.reason);
}

void MailCommands::newMail() { launch(Launcher::suiteApplication(QString::fromLatin1(kComposer))); }

void MailCommands::search() { launch(Launcher::suiteApplication(QString::fromLatin1(kSeek))); }

void MailCommands::addressBook()
{
    const QString entry = Launcher::settingsApplication(QString::fromLatin1(kAddressBookEntry));
    launch(entry.isEmpty() ? QString::fromLatin1(kDesktopAddressBook) : entry);
}

void MailCommands::openByMailReader()
{
    const QVector<Picked> mails = pickSelected();
    if (mails.isEmpty())
        return;
    const QString reader = Launcher::settingsApplication(QString::fromLatin1(kMailReaderEntry));
    if (reader.isEmpty()) {
        report(tr("No mail reader: \"%1\" in the settings folder is missing or cannot be resolved.")
                   .arg(QString::fromLatin1(kMailReaderEntry)));
        return;
    }
    handOver(mails, [this, reader](const Picked &mail) {
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
    handOver(pickSelected(), [this](const Picked &mail) {
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
    for (const Picked &mail : pickSelected())
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
    QSet<QByteArray> confirmed;
    for (const Picked &mail : pickSelected())
        confirmed.insert(mail.path);
    if (confirmed.isEmpty())
        return;
    const int count = int(confirmed.size());
    QMessageBox box(QMessageBox::Warning, tr("Delete Mails"),
                    count == 1 ? tr("Delete 1 mail?") : tr("Delete %1 mails?").arg(count), QMessageBox::NoButton,
                    titleWindow_);
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
        deleteMailYes(&confirmed);
}

void MailCommands::deleteMailYes(const QSet<QByteArray> *confirmed)
{
    if (!titles_)
        return;
    // Each removal moves the selection: the rows are copied first, and a row
    // number counts down by the mails removed before it.
    const QVector<int> rows = selectedRows();
    int removed = 0;
    int failed = 0;
    QString firstFailure;
    for (const int row : rows) {
        const int index = row - removed;
        if (index < 0)
            continue;
        const Title *title = titles_->titleAt(index);
        if (!title || title->path().isEmpty())
            continue;
        if (confirmed && !confirmed->contains(title->path()))
            continue;
        // An attachment folder goes whole, never its main text alone.
        const QByteArray target = title->archiveState() ? FolderOf(title->path()) : title->path();
        const MoveOutcome outcome = SafeRemove(target);
        if (!outcome.ok()) {
            if (failed++ == 0)
                firstFailure = tr("%1 was not deleted: %2").arg(NameOf(target), outcome.message);
            continue;
        }
        titles_->removeAtIndex(index);
        ++removed;
    }
    if (failed == 1)
        report(firstFailure);
    else if (failed > 1)
        report(tr("%1 mails were not deleted. %2").arg(failed).arg(firstFailure));
}

void MailCommands::makeRead()
{
    if (!titles_)
        return;
    bool marked = false;
    int failed = 0;
    QString firstFailure;
    for (const int row : selectedRows()) {
        Title *title = titles_->titleAt(row);
        if (!title || !title->unreadState())
            continue;
        const QByteArray before = title->path();
        const MoveOutcome outcome = title->makeRead();
        if (!outcome.ok()) {
            if (failed++ == 0)
                firstFailure = tr("%1 was not marked read: %2").arg(NameOf(before), outcome.message);
            continue;
        }
        marked = true;
        titles_->titleChanged(row);
        if (contents_ && contents_->currentPathString() == before)
            contents_->setCurrentPathString(title->path());
    }
    if (failed == 1)
        report(firstFailure);
    else if (failed > 1)
        report(tr("%1 mails were not marked read. %2").arg(failed).arg(firstFailure));
    if (marked && contents_)
        QTimer::singleShot(kUnreadCheckDelayMs, contents_.data(), &MailContents::launchUnread);
}

QString MailCommands::selectedMailText() const
{
    const BrowserTextView *view = contents_ ? contents_->browserTextView() : nullptr;
    if (!view)
        return QString();
    // selectedText() ends paragraphs in U+2029; a printed line ends in "\n".
    QString text = view->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void MailCommands::printSelectionTo(QPrinter *printer)
{
    BrowserTextView *view = contents_ ? contents_->browserTextView() : nullptr;
    if (!view || !printer)
        return;
    view->hiddenText()->setPlainText(selectedMailText());
    view->hiddenText()->print(printer);
}

void MailCommands::printSelection()
{
    BrowserTextView *view = contents_ ? contents_->browserTextView() : nullptr;
    if (!view)
        return;
    QPrinter printer;
    QPrintDialog dialog(&printer, view->window());
    dialog.setWindowTitle(tr("Print Selection"));
    if (dialog.exec() == QDialog::Accepted)
        printSelectionTo(&printer);
}

} // namespace wex
