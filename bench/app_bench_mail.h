#pragma once
// A long, realistic text mail for the application benchmark: paragraphs of
// Japanese running text mixed with English lines, quoted passages and
// signatures, wrapped as a mail client wraps them (about 35 full-width or 72
// ASCII columns), converted into one charset. Deterministic: the same
// arguments always give the same bytes.
#include "synthetic_text.h"

#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bench {

// UTF-8 text in another charset (glibc iconv); nullopt when it cannot be
// represented. Ends in the initial shift state, so ISO-2022-JP lines converted
// one by one each stand on their own.
inline std::optional<std::string> ConvertFromUtf8(std::string_view text, const char *charset)
{
    iconv_t cd = iconv_open(charset, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out(text.size() * 4 + 16, '\0');
    char *in = const_cast<char *>(text.data());
    size_t inLeft = text.size(), outLeft = out.size();
    char *dst = out.data();
    const bool ok = iconv(cd, &in, &inLeft, &dst, &outLeft) != size_t(-1) &&
                    iconv(cd, nullptr, nullptr, &dst, &outLeft) != size_t(-1);
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

// The UTF-8 body text, at least minBytes long once converted by a charset
// that takes about the given bytes per Japanese character (2 for Shift_JIS
// and ISO-2022-JP, 3 for UTF-8). Only JIS X 0208 characters occur.
inline std::string LongMailBodyUtf8(size_t minBytes, int bytesPerKanji)
{
    uint64_t state = 0x5EED5EEDull;
    auto next = [&state](size_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return size_t((state >> 33) % n);
    };
    std::string body;
    size_t approx = 0; // converted size, estimated as the text grows
    while (approx < minBytes) {
        const int kind = int(next(10));
        std::string para;
        if (kind < 6) { // Japanese paragraph: ~35 characters a line
            for (int lines = 3 + int(next(8)), col = 0; lines > 0;) {
                const std::string_view s = kJapaneseSentences[next(kJapaneseSentences.size())];
                para += s;
                col += int(s.size() / 3);
                if (col >= 30) {
                    para += '\n';
                    col = 0;
                    --lines;
                }
            }
        } else if (kind < 9) { // English paragraph, wrapped at 72 columns
            std::string line;
            for (int lines = 2 + int(next(6)); lines > 0;) {
                const std::string_view s = kEnglishSentences[next(kEnglishSentences.size())];
                if (!line.empty() && line.size() + 1 + s.size() > 72) {
                    para += line + '\n';
                    line.clear();
                    --lines;
                }
                line += (line.empty() ? "" : " ") + std::string(s);
            }
        } else { // a quoted passage of the previous mail
            for (int lines = 2 + int(next(5)); lines > 0; --lines)
                para += "> " + std::string(kJapaneseSentences[next(kJapaneseSentences.size())]) + '\n';
        }
        para += '\n';
        // Japanese characters take 3 bytes in UTF-8, ASCII one in every charset.
        size_t ascii = 0;
        for (unsigned char c : para)
            ascii += c < 0x80;
        approx += ascii + (para.size() - ascii) / 3 * size_t(bytesPerKanji);
        body += para;
    }
    return body;
}

// The whole mail file: a header as a mail server leaves it, the charset
// declared after the header's empty line as the store keeps it, then the body.
// mimeName goes into Content-Type, wexName into "X-WEX-CharSet: ".
inline std::optional<std::string> LongMail(size_t minBytes, const char *iconvName, const char *mimeName,
                                           const char *wexName)
{
    const int perKanji = std::string_view(iconvName) == "UTF-8" ? 3 : 2;
    const std::optional<std::string> body = ConvertFromUtf8(LongMailBodyUtf8(minBytes, perKanji), iconvName);
    const std::optional<std::string> subject = ConvertFromUtf8("長文の報告書 (全文)", iconvName);
    const std::optional<std::string> from = ConvertFromUtf8("田中 一郎", iconvName);
    if (!body || !subject || !from)
        return std::nullopt;
    std::string m;
    m += "Return-Path: <ichiro@jp.example.org>\n";
    m += "Received: from mx1.jp.example.org (mx1.jp.example.org [192.0.2.7])\n"
         "\tby mail.example.org (Postfix) with ESMTPS id 4F2A19C0\n"
         "\tfor <demo@example.org>; Tue, 8 Dec 2026 09:12:44 +0900\n";
    m += "From: " + *from + " <ichiro@jp.example.org>\n";
    m += "To: Demo User <demo@example.org>\n";
    m += "Subject: " + *subject + "\n";
    m += "Date: Tue, 8 Dec 2026 09:12:40 +0900\n";
    m += "Message-ID: <long.4F2A19C0@jp.example.org>\n";
    m += "MIME-Version: 1.0\n\n";
    m += std::string("Content-Type: text/plain; charset=") + mimeName + "\n";
    m += std::string("X-WEX-CharSet: ") + wexName + "\n\n";
    m += *body;
    return m;
}

} // namespace bench
