#pragma once
// Strict decoding of bytes in one of the program's platform string encodings.
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace wex {

// Platform string encoding numbers (the numbers stored with codings since the suite began; a
// CoreFoundation constant c is 0x80000000 | c).
namespace enc {
inline constexpr uint32_t ASCII = 1, JapaneseEUC = 3, UTF8 = 4, ISOLatin1 = 5, ShiftJIS = 8,
                          ISOLatin2 = 9, Unicode = 10, ISO2022JP = 21, MacOSRoman = 30;
inline constexpr uint32_t fromCF(uint32_t cf) { return 0x80000000u | cf; }
} // namespace enc

// The converter name (glibc iconv) used for an encoding; nullptr when unknown.
const char *ConverterNameForEncoding(uint32_t encoding);

// Owns one converter per encoding, opened on first use. Not thread-safe: one
// decoder per thread (this program has one thread).
class TextDecoder {
public:
    TextDecoder() = default;
    ~TextDecoder();
    TextDecoder(const TextDecoder &) = delete;
    TextDecoder &operator=(const TextDecoder &) = delete;

    // The text, or nullopt when any byte sequence is invalid in the encoding,
    // the input ends inside a character, or the encoding is unknown.
    // Unicode (10) is UTF-16: a byte-order mark decides, big-endian without one.
    std::optional<QString> decode(QByteArrayView bytes, uint32_t encoding);

private:
    std::unordered_map<uint32_t, void *> converters_; // iconv_t by encoding
};

// Strictly encodes text into a converter's coding; characters it cannot hold
// become "?". Used to write the dummy main text in Shift JIS.
QByteArray EncodeText(const QString &text, const char *converterName);

} // namespace wex
