#include "FoldedText.h"

#include <algorithm>
#include <array>
#include <memory>

namespace wex {

QString FoldForSearch(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

namespace {

// Blocks holding characters without a combining class that still compose
// with the character before them (Indic two-part vowel signs, Myanmar,
// conjoining Hangul jamo, Balinese): a text holding one is folded whole.
bool MayComposeWithPrevious(char16_t c)
{
    return (c >= 0x0900 && c <= 0x0DFF) || (c >= 0x1000 && c <= 0x11FF) || (c >= 0x1B00 && c <= 0x1B7F) ||
           (c >= 0xA960 && c <= 0xA97F) || (c >= 0xD7B0 && c <= 0xD7FF);
}

// For each UTF-16 unit, its folded form when it folds alone and does not
// change its neighbours; 0 when a text holding it must be folded whole.
using FoldTable = std::array<char16_t, 0x10000>;

std::unique_ptr<FoldTable> MakeFoldTable()
{
    auto table = std::make_unique<FoldTable>();
    for (char32_t u = 1; u < 0x10000; ++u) {
        const QChar c{char16_t(u)};
        char16_t folded = 0;
        if (!c.isSurrogate() && c.combiningClass() == 0 && !MayComposeWithPrevious(char16_t(u))) {
            bool alone = c.decompositionTag() == QChar::NoDecomposition;
            if (!alone) {
                const QString normal = QString(c).normalized(QString::NormalizationForm_KC);
                alone = normal.size() == 1 && normal.at(0) == c;
            }
            const char32_t f = QChar::toCaseFolded(u);
            if (alone && f < 0x10000 && !QChar::isSurrogate(f))
                folded = char16_t(f);
        }
        (*table)[u] = folded;
    }
    return table;
}

const FoldTable &Folds()
{
    static const std::unique_ptr<FoldTable> table = MakeFoldTable(); // built once, read-only after
    return *table;
}

} // namespace

FoldedText::FoldedText(QStringView text)
{
    const FoldTable &folds = Folds();
    folded_.resize(text.size());
    const char16_t *in = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t f = folds[in[i]];
        if (f == 0) {
            const QString whole = FoldForSearch(text.toString());
            folded_.resize(whole.size());
            std::copy(whole.utf16(), whole.utf16() + whole.size(), folded_.begin());
            return;
        }
        folded_[i] = f;
    }
}

bool FoldedText::contains(QStringView foldedWord) const { return view().contains(foldedWord); }

} // namespace wex
