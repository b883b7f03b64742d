#include "TextDecoder.h"

#include "Iso2022Jp.h"

#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace wex {

namespace {

// iconv's name for UTF-16 in this machine's byte order, so that its output is
// QString's own storage.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char *kNativeUtf16 = "UTF-16LE";
#else
constexpr const char *kNativeUtf16 = "UTF-16BE";
#endif

// Cache key of the converter that decodes ISO-2022-JP texts using sets beyond
// the Japanese ones; no platform encoding has this value.
constexpr uint32_t kIso2022Jp2Key = 0x40000000u | enc::ISO2022JP;

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no
// truncated sequence at the end.
bool isValidUtf8(const unsigned char *p, qsizetype n)
{
    qsizetype i = 0;
    while (i < n) {
        // ASCII runs dominate mail text: test eight bytes at a time.
        while (i + 8 <= n) {
            quint64 w;
            std::memcpy(&w, p + i, 8);
            if (w & 0x8080808080808080ull)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int len;
        unsigned char lo = 0x80, hi = 0xBF; // range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0)
                lo = 0xA0; // overlong
            else if (b == 0xED)
                hi = 0x9F; // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0)
                lo = 0x90; // overlong
            else if (b == 0xF4)
                hi = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (n - i < len)
            return false;
        if (p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (int k = 2; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += len;
    }
    return true;
}

// UTF-16 with an optional byte-order mark (big-endian without one). Odd
// lengths and unpaired surrogates are invalid. The mark is not part of the text.
std::optional<QString> decodeUtf16(QByteArrayView bytes)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    qsizetype n = bytes.size();
    bool little = false;
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        little = true;
        p += 2;
        n -= 2;
    } else if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
        p += 2;
        n -= 2;
    }
    QString out(n / 2, Qt::Uninitialized);
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    bool expectLow = false;
    for (qsizetype i = 0; i < n / 2; ++i) {
        const char16_t u = little ? qFromLittleEndian<quint16>(p + 2 * i)
                                  : qFromBigEndian<quint16>(p + 2 * i);
        const bool high = u >= 0xD800 && u <= 0xDBFF;
        const bool low = u >= 0xDC00 && u <= 0xDFFF;
        if (expectLow != low)
            return std::nullopt;
        expectLow = high;
        d[i] = u;
    }
    if (expectLow)
        return std::nullopt;
    return out;
}

// One strict conversion of the whole input into QString storage. The output
// never needs more UTF-16 units than there are input bytes for the codings
// used here; the buffer still grows if a converter should disagree.
std::optional<QString> convert(iconv_t cd, QByteArrayView bytes)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // initial shift state
    QString out(bytes.size() + 8, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    size_t used = 0; // bytes of out written
    // Pass 1 converts the input, pass 2 (no input) ends any shift state.
    for (int pass = 1; pass <= 2;) {
        const size_t capacity = static_cast<size_t>(out.size()) * 2;
        char *o = reinterpret_cast<char *>(out.data()) + used;
        size_t oLeft = capacity - used;
        const size_t r = pass == 1 ? iconv(cd, &in, &inLeft, &o, &oLeft)
                                   : iconv(cd, nullptr, nullptr, &o, &oLeft);
        used = capacity - oLeft;
        if (r != static_cast<size_t>(-1)) {
            ++pass;
            continue;
        }
        if (errno != E2BIG)
            return std::nullopt; // EILSEQ: invalid; EINVAL: input ends inside a character
        out.resize(out.size() + out.size() / 2 + 16);
    }
    out.truncate(static_cast<qsizetype>(used / 2));
    return out;
}

iconv_t openDecoder(const char *name)
{
    return iconv_open(kNativeUtf16, name);
}

} // namespace

const char *ConverterNameForEncoding(uint32_t encoding)
{
    switch (encoding) {
    case enc::ASCII: return "ASCII";
    case enc::JapaneseEUC: return "EUC-JP";
    case enc::UTF8: return "UTF-8";
    case enc::ISOLatin1: return "ISO-8859-1";
    case enc::ShiftJIS: return "CP932";
    case enc::ISOLatin2: return "ISO-8859-2";
    case enc::Unicode: return "UTF-16";
    // Decoding goes through CP932 (see Iso2022Jp.h); this is the name to
    // encode with, which writes standard ISO-2022-JP.
    case enc::ISO2022JP: return "ISO-2022-JP";
    case enc::MacOSRoman: return "MACINTOSH";
    case enc::fromCF(3): return "CP949";     // MacKorean
    case enc::fromCF(2): return "CP950";     // MacChineseTrad
    case enc::fromCF(25): return "GBK";      // MacChineseSimp
    case enc::fromCF(0x940): return "EUC-KR";
    case enc::fromCF(0xA03): return "BIG5";
    case enc::fromCF(0x930): return "EUC-CN";
    case enc::fromCF(0x203): return "ISO-8859-3";
    case enc::fromCF(0x204): return "ISO-8859-4";
    case enc::fromCF(0x205): return "ISO-8859-5";
    case enc::fromCF(0x206): return "ISO-8859-6";
    case enc::fromCF(0x207): return "ISO-8859-7";
    case enc::fromCF(0x208): return "ISO-8859-8";
    case enc::fromCF(0x209): return "ISO-8859-9";
    case enc::fromCF(0x20A): return "ISO-8859-10";
    case enc::fromCF(0x20B): return "ISO-8859-11";
    case enc::fromCF(0x20D): return "ISO-8859-13";
    case enc::fromCF(0x20E): return "ISO-8859-14";
    case enc::fromCF(0x20F): return "ISO-8859-15";
    default: return nullptr;
    }
}

TextDecoder::~TextDecoder()
{
    for (auto &entry : converters_) {
        if (entry.second != kNoConverter)
            iconv_close(static_cast<iconv_t>(entry.second));
    }
}

std::optional<QString> TextDecoder::decode(QByteArrayView bytes, uint32_t encoding)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    switch (encoding) {
    case enc::ASCII:
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (p[i] >= 0x80)
                return std::nullopt;
        }
        return QString::fromLatin1(bytes);
    case enc::ISOLatin1:
        return QString::fromLatin1(bytes);
    case enc::UTF8:
        if (!isValidUtf8(p, bytes.size()))
            return std::nullopt;
        return QString::fromUtf8(bytes);
    case enc::Unicode:
        return decodeUtf16(bytes);
    default:
        break;
    }

    auto converter = [this](uint32_t key, const char *name) -> iconv_t {
        auto it = converters_.find(key);
        if (it == converters_.end())
            it = converters_.emplace(key, static_cast<void *>(openDecoder(name))).first;
        return static_cast<iconv_t>(it->second);
    };

    if (encoding == enc::ISO2022JP) {
        QByteArray sjis;
        switch (Iso2022JpToCp932(bytes, sjis)) {
        case Iso2022JpResult::Invalid:
            return std::nullopt;
        case Iso2022JpResult::Ok: {
            const iconv_t cd = converter(enc::ShiftJIS, "CP932");
            return cd == kNoConverter ? std::nullopt : convert(cd, sjis);
        }
        case Iso2022JpResult::Unsupported: {
            const iconv_t cd = converter(kIso2022Jp2Key, "ISO-2022-JP-2");
            return cd == kNoConverter ? std::nullopt : convert(cd, bytes);
        }
        }
        return std::nullopt;
    }

    const char *name = ConverterNameForEncoding(encoding);
    if (!name)
        return std::nullopt;
    const iconv_t cd = converter(encoding, name);
    if (cd == kNoConverter)
        return std::nullopt;
    return convert(cd, bytes);
}

QByteArray EncodeText(const QString &text, const char *converterName)
{
    QByteArray out;
    const iconv_t cd = converterName ? iconv_open(converterName, kNativeUtf16) : kNoConverter;
    if (cd == kNoConverter) {
        // No such converter: keep what is plain ASCII in any coding.
        out.reserve(text.size());
        for (QChar c : text)
            out.append(c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?');
        return out;
    }

    out.resize(text.size() * 4 + 16);
    size_t used = 0;
    auto run = [&](char **in, size_t *inLeft) -> size_t {
        for (;;) {
            char *o = out.data() + used;
            size_t oLeft = static_cast<size_t>(out.size()) - used;
            const size_t r = iconv(cd, in, inLeft, &o, &oLeft);
            used = static_cast<size_t>(out.size()) - oLeft;
            if (r == static_cast<size_t>(-1) && errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            return r;
        }
    };

    char *in = reinterpret_cast<char *>(const_cast<QChar *>(text.constData()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    while (inLeft > 0) {
        if (run(&in, &inLeft) != static_cast<size_t>(-1))
            break;
        // A character the coding cannot hold (EILSEQ) or a lone surrogate at
        // the end (EINVAL): it becomes "?", converted so that a stateful coding
        // switches back to ASCII first.
        const char16_t u = *reinterpret_cast<const char16_t *>(in);
        size_t skip = 2;
        if (u >= 0xD800 && u <= 0xDBFF && inLeft >= 4) {
            const char16_t next = *reinterpret_cast<const char16_t *>(in + 2);
            if (next >= 0xDC00 && next <= 0xDFFF)
                skip = 4;
        }
        in += skip;
        inLeft -= skip;
        char16_t question = u'?';
        char *q = reinterpret_cast<char *>(&question);
        size_t qLeft = 2;
        run(&q, &qLeft);
    }
    run(nullptr, nullptr); // back to the initial shift state
    iconv_close(cd);
    out.truncate(static_cast<qsizetype>(used));
    return out;
}

} // namespace wex
