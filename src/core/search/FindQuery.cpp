#include "FindQuery.h"

#include <QRegularExpression>

namespace wex {

namespace {

bool HoldsAll(const FoldedText &folded, const QStringList &words)
{
    for (const QString &word : words)
        if (!folded.contains(word))
            return false;
    return true;
}

// "YYYY-MM-DD" as YYYYMMDD; 0 for an empty end, nullopt for anything else.
std::optional<qint64> DayOf(const QString &text)
{
    if (text.isEmpty())
        return 0;
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int month = m.captured(2).toInt(), day = m.captured(3).toInt();
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    return m.captured(1).toLongLong() * 10000 + month * 100 + day;
}

} // namespace

std::optional<FindQuery> FindQuery::parse(const QString &text, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    FindQuery q;
    const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        const qsizetype colon = word.indexOf(QLatin1Char(':'));
        const QString field = colon > 0 ? word.left(colon) : QString();
        const QString value = colon > 0 ? word.mid(colon + 1) : word;
        if (colon > 0 && value.isEmpty())
            return fail(QStringLiteral("nothing after \"%1\"").arg(word));
        if (field.isEmpty()) {
            q.any_.append(FoldForSearch(value));
        } else if (field == QLatin1String("from")) {
            q.from_.append(FoldForSearch(value));
        } else if (field == QLatin1String("subject")) {
            q.subject_.append(FoldForSearch(value));
        } else if (field == QLatin1String("body")) {
            q.body_.append(FoldForSearch(value));
        } else if (field == QLatin1String("date")) {
            const qsizetype dots = value.indexOf(QLatin1String(".."));
            const std::optional<qint64> first = DayOf(dots < 0 ? value : value.left(dots));
            const std::optional<qint64> last = DayOf(dots < 0 ? value : value.mid(dots + 2));
            if (!first || !last || (*first == 0 && *last == 0) || (*last != 0 && *first > *last))
                return fail(QStringLiteral("\"%1\" is no date or range of dates (YYYY-MM-DD..YYYY-MM-DD)").arg(value));
            q.firstDay_ = *first;
            q.lastDay_ = *last;
        } else if (field == QLatin1String("state")) {
            static const std::pair<const char *, State> kStates[] = {
                {"unread", State::Unread}, {"read", State::Read}, {"replied", State::Replied},
                {"html", State::Html},     {"sent", State::Sent}, {"attachment", State::Attachment}};
            const auto known = std::find_if(std::begin(kStates), std::end(kStates),
                                            [&](const auto &s) { return value == QLatin1String(s.first); });
            if (known == std::end(kStates))
                return fail(QStringLiteral("unknown state \"%1\" (unread, read, replied, html, sent, attachment)")
                                .arg(value));
            q.states_.push_back(known->second);
        } else {
            return fail(QStringLiteral("unknown field \"%1:\" (from, subject, body, date, state)").arg(field));
        }
    }
    if (words.isEmpty())
        return fail(QStringLiteral("no words to find"));
    return q;
}

bool FindQuery::hasState(const Title &t, State state)
{
    switch (state) {
    case State::Unread: return t.unreadState();
    case State::Read: return !t.unreadState();
    case State::Replied: return t.replyState();
    case State::Html: return t.htmlState();
    case State::Sent: return t.sendState();
    case State::Attachment: return t.archiveState();
    }
    return false;
}

bool FindQuery::matchesTitle(const Title &title) const
{
    for (const State state : states_)
        if (!hasState(title, state))
            return false;
    if (firstDay_ != 0 || lastDay_ != 0) {
        if (title.date().isEmpty())
            return false;
        const MailDate::LocalFields f = title.date().localFields();
        const qint64 day = f.year * 10000 + f.month * 100 + f.day;
        if ((firstDay_ != 0 && day < firstDay_) || (lastDay_ != 0 && day > lastDay_))
            return false;
    }
    if (from_.isEmpty() && subject_.isEmpty() && any_.isEmpty())
        return true;
    const FoldedText from(title.from());
    const FoldedText subject(title.subject());
    if (!HoldsAll(from, from_) || !HoldsAll(subject, subject_))
        return false;
    for (const QString &word : any_)
        if (!from.contains(word) && !subject.contains(word))
            return false;
    return true;
}

bool FindQuery::matchesBody(const QString &text) const
{
    const QString folded = FoldForSearch(text);
    for (const QString &word : body_)
        if (!folded.contains(word))
            return false;
    return true;
}

} // namespace wex
