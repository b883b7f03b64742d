#include "TitleFilter.h"

#include "FindQuery.h"

#include <QRegularExpression>

namespace wex {

namespace {

bool HoldsWord(const QString &text, const QString &word)
{
    // Most senders and subjects are plain ASCII, whose folded form is its
    // lower case: a case-blind search finds the folded word without folding.
    bool ascii = true;
    for (const QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    return ascii ? text.contains(word, Qt::CaseInsensitive) : FoldForSearch(text).contains(word);
}

} // namespace

bool TitleFilter::matches(const Title &title) const
{
    for (const QString &word : words_)
        if (!HoldsWord(title.from(), word) && !HoldsWord(title.subject(), word))
            return false;
    return true;
}

bool TitleFilter::narrows(const QStringList &before) const
{
    for (const QString &old : before)
        if (std::none_of(words_.begin(), words_.end(), [&old](const QString &w) { return w.contains(old); }))
            return false;
    return true;
}

TitleArray TitleFilter::split(TitleArray all, TitleArray *released)
{
    TitleArray shown;
    TitleArray hidden;
    if (!isActive()) {
        shown = std::move(all);
    } else {
        for (Title &title : all)
            (matches(title) ? shown : hidden).push_back(std::move(title));
    }
    if (released)
        *released = std::exchange(hidden_, std::move(hidden));
    else
        hidden_ = std::move(hidden);
    return shown;
}

TitleArray TitleFilter::setText(const QString &text, TitleArray shown, std::optional<TitleKey> key, bool reverse)
{
    const QStringList before = words_;
    text_ = text;
    words_.clear();
    for (const QString &word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        words_.append(FoldForSearch(word));
    if (narrows(before)) {
        TitleArray kept;
        for (Title &title : shown)
            (matches(title) ? kept : hidden_).push_back(std::move(title));
        return kept;
    }
    TitleArray all = std::move(shown);
    all.reserve(all.size() + hidden_.size());
    for (Title &title : hidden_)
        all.push_back(std::move(title));
    hidden_.clear();
    if (key)
        SortTitles(all, *key, reverse);
    return split(std::move(all), nullptr);
}

} // namespace wex
