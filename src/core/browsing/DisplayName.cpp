#include "DisplayName.h"

namespace wex {
namespace {

// Length of the well-formed UTF-8 sequence at p (at most `left` bytes long),
// 0 when the bytes there do not start one. Overlong forms, surrogates and
// code points past U+10FFFF are not well formed.
qsizetype SequenceLength(const unsigned char *p, qsizetype left)
{
    const unsigned char b = p[0];
    auto cont = [&](qsizetype i, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
        return i < left && p[i] >= lo && p[i] <= hi;
    };
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return cont(1) ? 2 : 0;
    if (b == 0xE0)
        return cont(1, 0xA0) && cont(2) ? 3 : 0;
    if (b == 0xED)
        return cont(1, 0x80, 0x9F) && cont(2) ? 3 : 0;
    if (b >= 0xE1 && b <= 0xEF)
        return cont(1) && cont(2) ? 3 : 0;
    if (b == 0xF0)
        return cont(1, 0x90) && cont(2) && cont(3) ? 4 : 0;
    if (b >= 0xF1 && b <= 0xF3)
        return cont(1) && cont(2) && cont(3) ? 4 : 0;
    if (b == 0xF4)
        return cont(1, 0x80, 0x8F) && cont(2) && cont(3) ? 4 : 0;
    return 0;
}

void AppendEscaped(QString &out, unsigned char byte)
{
    static const char kHex[] = "0123456789ABCDEF";
    out += QLatin1String("\\x");
    out += QLatin1Char(kHex[byte >> 4]);
    out += QLatin1Char(kHex[byte & 0xF]);
}

} // namespace

QString DisplayName(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    QString out;
    out.reserve(size);
    qsizetype run = 0; // start of the well-formed bytes not yet decoded
    auto flush = [&](qsizetype end) {
        out += QString::fromUtf8(bytes.data() + run, end - run);
    };
    for (qsizetype i = 0; i < size;) {
        const qsizetype length = SequenceLength(p + i, size - i);
        // C0 controls and DEL are one byte; C1 controls (U+0080..U+009F) are
        // C2 80..C2 9F.
        const bool control = (length == 1 && (p[i] < 0x20 || p[i] == 0x7F))
                             || (length == 2 && p[i] == 0xC2 && p[i + 1] < 0xA0);
        if (length > 0 && !control) {
            i += length;
            continue;
        }
        flush(i);
        const qsizetype escaped = length > 0 ? length : 1;
        for (qsizetype k = 0; k < escaped; ++k)
            AppendEscaped(out, p[i + k]);
        i += escaped;
        run = i;
    }
    flush(size);
    return out;
}

QString FolderTitle(QByteArrayView path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return DisplayName(path == "/" ? path : path.sliced(path.lastIndexOf('/') + 1));
}

} // namespace wex
