#pragma once
// ISO-2022-JP as mail really carries it, rewritten into Shift JIS (CP932) bytes
// so that the CP932 converter decodes it. Internal to the text decoder.
#include <QByteArray>
#include <QByteArrayView>

namespace wex {

enum class Iso2022JpResult {
    Ok,          // out holds the CP932 bytes of the whole input
    Invalid,     // a byte or sequence that ISO-2022-JP cannot hold, or a truncated one
    Unsupported, // a designation of another ISO-2022-JP-2 set (Chinese, Korean, JIS X 0212, ...)
};

// Accepts ESC ( B, ESC ( J (taken as ASCII), ESC ( I (half-width katakana),
// ESC $ @, ESC $ B and ESC $ ( B (JIS X 0208, including the NEC and IBM rows
// that Windows mail writers emit), and the JIS X 0208-1990 announcer ESC & @.
// Control bytes and space pass through in every mode. The result is a plain
// byte rewrite: the CP932 decoder still rejects unassigned characters.
Iso2022JpResult Iso2022JpToCp932(QByteArrayView in, QByteArray &out);

} // namespace wex
