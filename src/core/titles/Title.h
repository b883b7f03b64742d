#pragma once
// One mail of the store: one row of the mail table.
#include "MailDate.h"
#include "SafeMove.h"
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace wex {

class Journal;

class Title {
public:
    Title(); // "anonymous", distant past, "No Subject", no flags, empty path, code 0

    const QString &from() const { return from_; }
    const MailDate &date() const { return date_; }
    const QString &subject() const { return subject_; }
    // The mail file's path as file-system bytes (exact, also for names that are
    // not valid UTF-8); for an attachment folder, its main text file.
    const QByteArray &path() const { return path_; }
    QString pathString() const; // for display
    uint32_t code() const { return code_; }

    void setFrom(QString v) { from_ = std::move(v); }
    void setDate(const MailDate &v) { date_ = v; }
    void setSubject(QString v) { subject_ = std::move(v); }
    void setPath(QByteArray v) { path_ = std::move(v); }
    void setCode(uint32_t v) { code_ = v; }

    // Flags are 0 or 1.
    uint8_t archiveState() const { return archive_; }
    uint8_t unreadState() const { return unread_; }
    uint8_t replyState() const { return reply_; }
    uint8_t htmlState() const { return html_; }
    uint8_t sendState() const { return send_; }
    uint8_t noMainState() const { return noMain_; }
    uint8_t errorState() const { return error_; }
    void setArchiveState(bool v) { archive_ = v; }
    void setUnreadState(bool v) { unread_ = v; }
    void setReplyState(bool v) { reply_ = v; }
    void setHtmlState(bool v) { html_ = v; }
    void setSendState(bool v) { send_ = v; }
    void setNoMainState(bool v) { noMain_ = v; }
    void setErrorState(bool v) { error_ = v; }

    // Letters of the set flags in the order A U R H S X E ("" for a read mail).
    QString state() const;

    // Marks an unread mail read by renaming its file to the read extension
    // ("htm", "imail", "rtxt" or "mail") through SafeMove, then gives a non-HTML
    // mail type "TEXT" and creator "wex1". Nothing happens to a read title.
    // When the move fails (a file of the new name exists, the file is gone, ...)
    // the title stays unread with its old path and the outcome says why.
    // Journaled in journal (none: not journaled) in step (0: a step of its
    // own), so Undo can take it back.
    MoveOutcome makeRead(Journal *journal = nullptr, quint64 step = 0);
    // The path makeRead would move to.
    QByteArray readPath() const;

private:
    QString from_;
    MailDate date_;
    QString subject_;
    QByteArray path_;
    uint32_t code_ = 0;
    uint8_t archive_ = 0, unread_ = 0, reply_ = 0, html_ = 0, send_ = 0, noMain_ = 0, error_ = 0;
};

using TitleArray = std::vector<Title>;

// The sort keys, which are also the mail table's column identifiers.
enum class TitleKey { State, From, Date, Subject };
// "state", "from", "date", "subject"; nullopt for anything else.
std::optional<TitleKey> TitleKeyFromIdentifier(const QString &identifier);

// -1, 0 or 1: strings by UTF-16 code units (case-sensitive), dates by instant
// with the empty date first. Equal values compare 0.
int compareTitle(const Title &a, const Title &b, TitleKey key);
int reverseCompareTitle(const Title &a, const Title &b, TitleKey key);
// Stable sort by the key, ascending or (reverse) descending.
void SortTitles(TitleArray &titles, TitleKey key, bool reverse);
// The order that sort gives, as indices into titles, which stay as they are.
std::vector<uint32_t> SortedTitleOrder(const TitleArray &titles, TitleKey key, bool reverse);

} // namespace wex
