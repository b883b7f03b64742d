#pragma once
// How many mails a folder holds and how many of them are unread, told by the
// names of its entries alone: a mail file's state is its extension, an
// attachment folder's that of its main text. No mail is opened and nothing is
// written, so counting a large folder costs one reading of its entries (and
// one look into each attachment folder). Hidden entries are passed over, as
// the listing passes them over.
#include <QByteArray>
#include <optional>

namespace wex {

struct MailCounts {
    qint64 unread = 0;
    qint64 mails = 0;
    bool operator==(const MailCounts &) const = default;
};

// nullopt when the folder cannot be read.
std::optional<MailCounts> CountMails(const QByteArray &folder);

} // namespace wex
