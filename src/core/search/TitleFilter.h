#pragma once
// The quick filter of the mail table: the words typed narrow the list to the
// mails whose sender or subject holds every one of them, compared folded
// (case and full-/half-width forms ignored, as FoldForSearch does).
//
// The filter keeps the titles it hides; the caller keeps the ones shown. A
// command acts on shown rows only, so a hidden title is never changed while
// hidden, and comes back as it was when the words change or go.
#include "Title.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace wex {

class TitleFilter {
public:
    const QString &text() const { return text_; }
    // Whether any word is set: with none, every title is shown.
    bool isActive() const { return !words_.isEmpty(); }
    bool matches(const Title &title) const;
    size_t hiddenCount() const { return hidden_.size(); }
    const TitleArray &hidden() const { return hidden_; }

    // A new list: answers the titles of all that the words let through, in
    // their order, and keeps the rest. The titles hidden before are handed
    // to *released (the caller decides where they are destroyed).
    TitleArray split(TitleArray all, TitleArray *released);
    // New words over the list shown: answers the titles to show now. Titles
    // coming into view (or going out of it) are merged into the shown (or
    // hidden) ones by key and direction; with no key they come after the
    // others. Both lists are expected in the list's order.
    TitleArray setText(const QString &text, TitleArray shown, std::optional<TitleKey> key, bool reverse);
    // Frees the buffers kept between keystrokes (a list of many mails moves
    // through the same memory as the words change, never through new).
    void releaseScratch();
    // Reorders the hidden titles, so they come back in the list's order.
    void sortHidden(TitleKey key, bool reverse) { SortTitles(hidden_, key, reverse); }

private:
    std::vector<uint8_t> matchFlags(const TitleArray &list) const;
    // Whether every title holding the outer words holds the inner ones.
    static bool within(const QStringList &inner, const QStringList &outer);

    QString text_;
    QStringList words_; // folded
    TitleArray hidden_;
    TitleArray goes_, back_, spare_; // empty between calls; their buffers kept
};

} // namespace wex
