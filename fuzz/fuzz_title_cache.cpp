// Fuzzes the header cache reader behind its checksum: each input is made
// into a cache file whose checksum (and, in most inputs, fingerprint and
// folder) is right, so the random bytes reach the entry decoder and every
// field's bounds are tried. A file that passes its checksum but lies (offsets,
// counts, lengths out of range) must be rejected as a whole; whatever is
// accepted must read back without a fault.
//
// First input byte: 0 takes the rest as the whole body (fingerprint and
// folder fields fuzzed too); anything else puts the right fingerprint and
// folder in front of the rest.
#include "Coding.h"
#include "TitleCache.h"

#include <QtEndian>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

const QByteArray kFolder = "/store/InBox";
const QByteArray kFingerprint = "fuzz-fingerprint";

template <typename T> void Put(std::vector<char> &out, T value)
{
    const T le = qToLittleEndian(value);
    const char *p = reinterpret_cast<const char *>(&le);
    out.insert(out.end(), p, p + sizeof le);
}

void PutField(std::vector<char> &out, const QByteArray &field)
{
    Put(out, uint32_t(field.size()));
    out.insert(out.end(), field.begin(), field.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    std::vector<char> body;
    if (data[0] != 0) {
        PutField(body, kFingerprint);
        PutField(body, kFolder);
    }
    body.insert(body.end(), reinterpret_cast<const char *>(data) + 1, reinterpret_cast<const char *>(data) + size);

    std::vector<char> file;
    file.insert(file.end(), {'W', 'E', 'X', 'T', 'C', 'A', 'C', 'H'});
    Put(file, uint32_t(1));
    Put(file, uint32_t(0));
    Put(file, uint64_t(body.size()));
    Put(file, wex::TitleCacheChecksum(body.data(), body.size()));
    file.insert(file.end(), body.begin(), body.end());

    const wex::FolderTitleCache cache = wex::FolderTitleCache::fromBytes(file, QByteArrayView(kFolder), QByteArrayView(kFingerprint));
    static const wex::Title prototype;
    for (size_t i = 0; i < cache.size(); ++i) {
        const wex::FolderTitleCache::Entry e = cache.entry(i);
        if (cache.find(cache.name(i)) != ptrdiff_t(i) || e.name != cache.name(i))
            __builtin_trap(); // names are unique and sorted once accepted
        const wex::Title t = cache.title(i, prototype, kFolder + '/' + e.name.toByteArray());
        if (t.path().isEmpty())
            __builtin_trap();
    }
    return 0;
}
