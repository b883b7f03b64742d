#pragma once
// What a screen reader says for a row of the mail table: the mail's states in
// words, its sender, subject and date as the table shows them, joined into
// one sentence ("unread, from Sato Hanako, Photos from Kyoto, 6 December
// 23:27, with attachments"). Every word is translated; the pieces are joined
// with the translated list separator.
#include <QString>

namespace wex {

class Title;

// The state letters in words: "unread" or "read" (neither for a mail waiting
// to be sent) first, then replied, error
// mail, waiting to be sent, and what the mail holds (attachments, HTML, no
// main text).
QString SpokenState(const Title &title);
// The row's sentence; shownDate is the date cell's text (left out when empty).
QString SpokenTitle(const Title &title, const QString &shownDate);

} // namespace wex
