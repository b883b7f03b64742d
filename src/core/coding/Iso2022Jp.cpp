#include "Iso2022Jp.h"

namespace wex {

namespace {

enum class Mode { Ascii, Kana, Kanji };

// JIS X 0208 row/cell bytes (0x21..0x7E each) to their Shift JIS pair.
inline char *putSjis(char *out, unsigned char j1, unsigned char j2)
{
    const unsigned char s1 = static_cast<unsigned char>((j1 + 1) / 2 + (j1 <= 0x5E ? 0x70 : 0xB0));
    unsigned char s2;
    if (j1 & 1)
        s2 = static_cast<unsigned char>(j2 + (j2 < 0x60 ? 0x1F : 0x20));
    else
        s2 = static_cast<unsigned char>(j2 + 0x7E);
    *out++ = static_cast<char>(s1);
    *out++ = static_cast<char>(s2);
    return out;
}

inline bool isGraphic(unsigned char b) { return b >= 0x21 && b <= 0x7E; }

} // namespace

Iso2022JpResult Iso2022JpToCp932(QByteArrayView in, QByteArray &out)
{
    const auto *p = reinterpret_cast<const unsigned char *>(in.data());
    const qsizetype n = in.size();
    // Every input byte gives at most one output byte (escape sequences give
    // none), so one buffer of the input's size holds the whole rewrite.
    out.resize(n);
    char *d = out.data();
    Mode mode = Mode::Ascii;
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b == 0x1B) {
            const qsizetype left = n - i - 1;
            if (left >= 2 && p[i + 1] == '(') {
                const unsigned char f = p[i + 2];
                if (f == 'B' || f == 'J')
                    mode = Mode::Ascii;
                else if (f == 'I')
                    mode = Mode::Kana;
                else
                    return Iso2022JpResult::Unsupported;
                i += 3;
                continue;
            }
            if (left >= 2 && p[i + 1] == '$' && (p[i + 2] == '@' || p[i + 2] == 'B')) {
                mode = Mode::Kanji;
                i += 3;
                continue;
            }
            if (left >= 3 && p[i + 1] == '$' && p[i + 2] == '(' && p[i + 3] == 'B') {
                mode = Mode::Kanji;
                i += 4;
                continue;
            }
            if (left >= 2 && p[i + 1] == '&' && p[i + 2] == '@') {
                i += 3;
                continue;
            }
            // A sequence cut off by the end of the input is a truncated text;
            // a complete one we do not know belongs to a wider ISO-2022 variant.
            if (left < 2 || (left < 3 && p[i + 1] == '$' && p[i + 2] == '('))
                return Iso2022JpResult::Invalid;
            return Iso2022JpResult::Unsupported;
        }
        if (b >= 0x80 || b == 0x0E || b == 0x0F)
            return Iso2022JpResult::Invalid;
        if (!isGraphic(b) || mode == Mode::Ascii) {
            *d++ = static_cast<char>(b);
            ++i;
            continue;
        }
        if (mode == Mode::Kana) {
            if (b > 0x5F)
                return Iso2022JpResult::Invalid;
            *d++ = static_cast<char>(b + 0x80);
            ++i;
            continue;
        }
        if (i + 1 >= n || !isGraphic(p[i + 1]))
            return Iso2022JpResult::Invalid;
        d = putSjis(d, b, p[i + 1]);
        i += 2;
    }
    out.truncate(d - out.data());
    return Iso2022JpResult::Ok;
}

} // namespace wex
