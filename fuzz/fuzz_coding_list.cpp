// Fuzzes the coding list reader and the charset lookups over what it read.
#include "Coding.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const wex::Coding coding(text);
    // Every line of the input is also tried as a charset value, both ways.
    for (const QByteArray &line : text.split('\n')) {
        for (bool wex : {false, true}) {
            const uint32_t code = coding.codeFromCharset(line, wex);
            if (code != wex::kCodeNotFound && code > wex::kCodeCount)
                __builtin_trap();
            (void)coding.fileCodeFromCode(code);
            (void)coding.languageOfCode(code);
        }
    }
    for (auto it = coding.charsetCodeDict().begin(); it != coding.charsetCodeDict().end(); ++it) {
        if (it.value() < 1 || it.value() > wex::kCodeCount || it.key().size() > 65)
            __builtin_trap();
    }
    return 0;
}
