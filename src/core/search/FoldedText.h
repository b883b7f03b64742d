#pragma once
// Text in the form searches compare it in: NFKC-normalized, then case-folded,
// so "ｗｅｘ" and "WEX" meet as "wex" and "ﾃｽﾄ" and "テスト" as "テスト".
//
// FoldForSearch is the definition. FoldedText gives the same result for one
// sender or subject without normalizing a copy: almost every character is
// folded through a table on its own, and only a text holding a character
// whose form may depend on its neighbours or on normalization (combining
// marks, compatibility forms, conjoining jamo, Indic vowel signs, surrogates)
// takes the full route.
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

namespace wex {

QString FoldForSearch(const QString &text);

class FoldedText {
public:
    explicit FoldedText(QStringView text);
    // Whether the folded text holds word, itself folded.
    bool contains(QStringView foldedWord) const;
    QStringView view() const { return QStringView(folded_.constData(), folded_.size()); }

private:
    QVarLengthArray<char16_t, 128> folded_;
};

} // namespace wex
