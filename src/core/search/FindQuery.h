#pragma once
// A search over the store's mails, as the user types it: words separated by
// blanks, every one a condition the mail must meet.
//   WORD                       the sender or the subject holds WORD
//   from:WORD, subject:WORD    that field holds WORD
//   body:WORD                  the mail's text, decoded in its coding, holds WORD
//   date:FIRST..LAST           the mail's date (in its own zone) lies between;
//                              YYYY-MM-DD, either end may be left out
//   state:STATE                unread, read, replied, html, sent or attachment
// Words match ignoring case and the difference between full-width and
// half-width forms (NFKC folding), so "ｗｅｘ" finds "WEX".
#include "FoldedText.h"
#include "Title.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace wex {

class FindQuery {
public:
    // nullopt, with *error saying why, for a query that cannot be parsed: an
    // unknown field, an empty word after a field, a date that is no date, an
    // unknown state, a query with no condition at all.
    static std::optional<FindQuery> parse(const QString &text, QString *error);

    // Every condition but the body's.
    bool matchesTitle(const Title &title) const;
    bool needsBody() const { return !body_.isEmpty(); }
    // Whether the decoded text holds every body word.
    bool matchesBody(const QString &text) const;

private:
    enum class State { Unread, Read, Replied, Html, Sent, Attachment };
    static bool hasState(const Title &title, State state);

    QStringList from_, subject_, any_, body_; // folded
    qint64 firstDay_ = 0, lastDay_ = 0;       // YYYYMMDD; 0 for an open end
    std::vector<State> states_;
};

} // namespace wex
