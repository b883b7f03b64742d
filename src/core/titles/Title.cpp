#include "Title.h"

#include "JournaledMove.h"
#include "MailName.h"
#include "PathUtils.h"
#include "TypeCreator.h"

#include <algorithm>
#include <cstring>

namespace wex {

namespace {

// The letter of each flag in field order: archive, unread, reply, HTML, send,
// no main text, error.
constexpr char kStateChars[] = {'A', 'U', 'R', 'H', 'S', 'X', 'E'};

// The state letters as a NUL-terminated ASCII string; sorting by state compares
// these without building a QString per comparison.
struct StateLetters {
    char text[sizeof kStateChars + 1];
};

StateLetters stateLetters(const Title &t)
{
    const uint8_t flags[] = {t.archiveState(), t.unreadState(), t.replyState(), t.htmlState(),
                             t.sendState(),    t.noMainState(), t.errorState()};
    StateLetters out{};
    int n = 0;
    for (size_t k = 0; k < sizeof flags; ++k) {
        if (flags[k])
            out.text[n++] = kStateChars[k];
    }
    out.text[n] = '\0';
    return out;
}

int sign(int v) { return (v > 0) - (v < 0); }

} // namespace

Title::Title()
    : from_(Localize(QT_TRANSLATE_NOOP("WEX", "anonymous"))), date_(MailDate::distantPast()), subject_(Localize(QT_TRANSLATE_NOOP("WEX", "No Subject")))
{
}

QString Title::pathString() const { return Path2String(path_); }

QString Title::state() const { return QString::fromLatin1(stateLetters(*this).text); }

QByteArray Title::readPath() const
{
    // HTML wins over "no main text", which wins over "error".
    const char *extension = html_ ? "htm" : noMain_ ? "imail" : error_ ? "rtxt" : "mail";
    QByteArray to = mailname::withoutExtension(path_).toByteArray();
    to += '.';
    to += extension;
    return to;
}

MoveOutcome Title::makeRead(Journal *journal, quint64 step)
{
    if (!unread_) {
        MoveOutcome nothingToDo;
        nothingToDo.status = MoveOutcome::Moved;
        return nothingToDo;
    }
    const QByteArray to = readPath();
    // The move never replaces a file that already has the read name; when it
    // fails the record keeps naming the file that is still there, unread.
    MoveOutcome outcome = JournaledMove(journal, path_, to, ChangeKind::Read, step);
    if (!outcome.ok())
        return outcome;
    path_ = to;
    unread_ = 0;
    if (!html_)
        SFCoSetTypeCreator(path_, "TEXT", "wex1"); // a courtesy: its outcome does not matter
    return outcome;
}

std::optional<TitleKey> TitleKeyFromIdentifier(const QString &identifier)
{
    if (identifier == QLatin1String("state"))
        return TitleKey::State;
    if (identifier == QLatin1String("from"))
        return TitleKey::From;
    if (identifier == QLatin1String("date"))
        return TitleKey::Date;
    if (identifier == QLatin1String("subject"))
        return TitleKey::Subject;
    return std::nullopt;
}

int compareTitle(const Title &a, const Title &b, TitleKey key)
{
    switch (key) {
    case TitleKey::State:
        // State letters are ASCII, so byte order is UTF-16 code-unit order.
        return sign(std::strcmp(stateLetters(a).text, stateLetters(b).text));
    case TitleKey::From:
        return sign(a.from().compare(b.from(), Qt::CaseSensitive));
    case TitleKey::Date:
        return sign(a.date().compare(b.date()));
    case TitleKey::Subject:
        return sign(a.subject().compare(b.subject(), Qt::CaseSensitive));
    }
    return 0;
}

int reverseCompareTitle(const Title &a, const Title &b, TitleKey key) { return -compareTitle(a, b, key); }

std::vector<uint32_t> SortedTitleOrder(const TitleArray &titles, TitleKey key, bool reverse)
{
    // The titles are ordered as indices, never moved: a title is large, and a
    // merge sort would move every one of them many times. Ties keep their
    // order through the index.
    const size_t n = titles.size();
    std::vector<uint32_t> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = uint32_t(i);
    if (key == TitleKey::Date) {
        // One integer per title: the empty date first, then by instant,
        // ties by index; the order of the whole integers is the order wanted.
        using Key = unsigned __int128;
        std::vector<Key> keys(n);
        for (size_t i = 0; i < n; ++i) {
            const MailDate &d = titles[i].date();
            // Set dates map above 0 in their own order (a date holds far
            // less than 2^62 seconds either way); the empty date is 0.
            constexpr int64_t kBound = (int64_t(1) << 62) - 1;
            const int64_t seconds = std::clamp<int64_t>(d.secondsSinceEpoch(), -kBound, kBound);
            uint64_t rank = d.isEmpty() ? 0 : uint64_t(seconds + kBound + 1);
            if (reverse)
                rank = ~rank;
            keys[i] = (Key(rank) << 32) | i;
        }
        std::sort(keys.begin(), keys.end());
        for (size_t i = 0; i < n; ++i)
            order[i] = uint32_t(keys[i]);
    } else if (reverse) {
        std::stable_sort(order.begin(), order.end(), [&titles, key](uint32_t a, uint32_t b) {
            return reverseCompareTitle(titles[a], titles[b], key) < 0;
        });
    } else {
        std::stable_sort(order.begin(), order.end(), [&titles, key](uint32_t a, uint32_t b) {
            return compareTitle(titles[a], titles[b], key) < 0;
        });
    }
    return order;
}

void SortTitles(TitleArray &titles, TitleKey key, bool reverse)
{
    const size_t n = titles.size();
    if (n < 2)
        return;
    const std::vector<uint32_t> order = SortedTitleOrder(titles, key, reverse);
    // Place k takes the title at order[k], cycle by cycle, in place.
    std::vector<uint8_t> placed(n, 0);
    for (size_t start = 0; start < n; ++start) {
        if (placed[start] || order[start] == start)
            continue;
        Title held = std::move(titles[start]);
        size_t k = start;
        for (;;) {
            placed[k] = 1;
            const size_t from = order[k];
            if (from == start) {
                titles[k] = std::move(held);
                break;
            }
            titles[k] = std::move(titles[from]);
            k = from;
        }
    }
}

} // namespace wex
