#include "TitleFilter.h"

#include "FoldedText.h"

#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <iterator>
#include <system_error>
#include <thread>

namespace wex {

namespace {

// Merges from into into, both in the list's order: by key and direction,
// into's title first on a tie; with no key, from's titles after into's.
// Neither list need be strictly sorted (a mail read since keeps its place),
// so this is a plain merge, defined for any input. from is left empty;
// spare is scratch, whose buffer is kept for the next time.
void MergeInto(TitleArray &into, TitleArray &from, std::optional<TitleKey> key, bool reverse, TitleArray &spare)
{
    if (!key || into.empty()) {
        into.insert(into.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    } else if (!from.empty()) {
        const auto before = [&](const Title &x, const Title &y) {
            const int c = compareTitle(x, y, *key);
            return reverse ? c > 0 : c < 0;
        };
        spare.clear();
        spare.reserve(into.size() + from.size());
        auto i = into.begin(), j = from.begin();
        while (i != into.end() && j != from.end())
            spare.push_back(std::move(before(*j, *i) ? *j++ : *i++));
        std::move(i, into.end(), std::back_inserter(spare));
        std::move(j, from.end(), std::back_inserter(spare));
        into.swap(spare);
        spare.clear();
    }
    from.clear();
}

// Moves the titles of list whose flag is not keep to out, in order, and
// keeps the others in list, in order.
void MoveOut(TitleArray &list, const std::vector<uint8_t> &flags, bool keep, TitleArray &out)
{
    out.clear();
    out.reserve(list.size());
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (bool(flags[i]) == keep) {
            if (kept != i)
                list[kept] = std::move(list[i]);
            ++kept;
        } else {
            out.push_back(std::move(list[i]));
        }
    }
    list.erase(list.begin() + qsizetype(kept), list.end());
}

} // namespace

bool TitleFilter::matches(const Title &title) const
{
    if (words_.isEmpty())
        return true;
    const FoldedText from(title.from());
    const FoldedText subject(title.subject());
    for (const QString &word : words_)
        if (!from.contains(word) && !subject.contains(word))
            return false;
    return true;
}

std::vector<uint8_t> TitleFilter::matchFlags(const TitleArray &list) const
{
    // Matching only reads the titles, and a long list's matching is most of
    // a keystroke's time: it is shared with a second thread.
    std::vector<uint8_t> flags(list.size());
    const auto run = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            flags[i] = matches(list[i]);
    };
    const size_t n = list.size();
    if (n < 8192 || QThread::idealThreadCount() < 2) {
        run(0, n);
        return flags;
    }
    std::thread other;
    try {
        other = std::thread(run, n / 2, n);
    } catch (const std::system_error &) {
        run(n / 2, n); // no thread to be had: this one does it all
    }
    run(0, n / 2);
    if (other.joinable())
        other.join();
    return flags;
}

bool TitleFilter::within(const QStringList &inner, const QStringList &outer)
{
    // Every title holding each outer word holds each inner word when every
    // inner word lies within some outer word.
    for (const QString &word : inner)
        if (std::none_of(outer.begin(), outer.end(), [&word](const QString &o) { return o.contains(word); }))
            return false;
    return true;
}

TitleArray TitleFilter::split(TitleArray all, TitleArray *released)
{
    TitleArray hidden;
    if (isActive())
        MoveOut(all, matchFlags(all), true, hidden);
    if (released)
        *released = std::exchange(hidden_, std::move(hidden));
    else
        hidden_ = std::move(hidden);
    return all;
}

void TitleFilter::releaseScratch()
{
    for (TitleArray *scratch : {&goes_, &back_, &spare_})
        TitleArray().swap(*scratch);
}

TitleArray TitleFilter::setText(const QString &text, TitleArray shown, std::optional<TitleKey> key, bool reverse)
{
    const QStringList before = words_;
    text_ = text;
    words_.clear();
    for (const QString &word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        words_.append(FoldForSearch(word));
    // Only the titles whose fate may change are looked at: the shown ones
    // unless the new words are broader, the hidden ones unless narrower.
    // Both lists stay in the list's order, so they are merged, not sorted.
    goes_.clear();
    if (!within(words_, before))
        MoveOut(shown, matchFlags(shown), true, goes_);
    if (!within(before, words_)) {
        MoveOut(hidden_, matchFlags(hidden_), false, back_);
        MergeInto(shown, back_, key, reverse, spare_);
    }
    MergeInto(hidden_, goes_, key, reverse, spare_);
    return shown;
}

} // namespace wex
