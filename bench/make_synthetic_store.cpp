// Writes the deterministic synthetic mail folder of the scan benchmark.
//
//   make_synthetic_store N DEST
//
// DEST/wex/1.ygm, 2.mail, ...   N mail files in the store's naming
// DEST/mh/1, 2, ...             hard links to the same files: an MH folder (nmh)
// DEST/maildir/cur/1.bench:2,S  hard links again: a maildir (mblaze)
// DEST/complete                 written last, holding N; its presence means
//                               the folder is whole and can be reused
//
// Mail i is the same whatever N is (each mail has its own random stream), so
// the folders of different sizes hold the same kind of mail. Sizes follow real
// mail: a median near 4 KB and 2% between 100 and 300 KB. Charsets mix
// ISO-2022-JP, Shift_JIS, UTF-8 and ISO-8859-1, declared by an "X-WEX-CharSet: "
// line, a MIME part's "Content-Type: text/plain; charset=" line, both, or
// neither, after the header's empty line as the suite stores them.
#include "synthetic_text.h"

#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// splitmix64: small, fast and the same on every machine.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
    double normal() // Box-Muller
    {
        const double u = std::max(unit(), 1e-12), v = unit();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
    }
    template <typename Array> auto pick(const Array &a) { return a[below(static_cast<int>(a.size()))]; }

private:
    uint64_t state_;
};

enum Charset { Jis, Sjis, Utf8, Latin1, CharsetCount };
struct CharsetInfo {
    const char *iconvName;
    const char *mimeName;
    const char *wexName;
    const char *transferEncoding;
};
constexpr CharsetInfo kCharsets[CharsetCount] = {
    {"ISO-2022-JP", "ISO-2022-JP", "ISO2022JP", "7bit"},
    {"SHIFT_JIS", "Shift_JIS", "ShiftJIS", "8bit"},
    {"UTF-8", "UTF-8", "UTF8", "8bit"},
    {"ISO-8859-1", "ISO-8859-1", "ISOLatin1", "8bit"},
};

// Converts UTF-8 text into one charset; each call ends in the initial shift
// state, so every converted line of ISO-2022-JP stands on its own.
class Converter {
public:
    explicit Converter(const char *to) : cd_(iconv_open(to, "UTF-8"))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            std::fprintf(stderr, "make_synthetic_store: iconv cannot convert to %s\n", to);
            std::exit(1);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    std::string operator()(std::string_view text) const
    {
        std::string out(text.size() * 4 + 16, '\0');
        char *in = const_cast<char *>(text.data());
        size_t inLeft = text.size();
        char *dst = out.data();
        size_t outLeft = out.size();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1)
            || iconv(cd_, nullptr, nullptr, &dst, &outLeft) == static_cast<size_t>(-1)) {
            std::fprintf(stderr, "make_synthetic_store: text not representable: %.*s\n",
                         static_cast<int>(text.size()), text.data());
            std::exit(1);
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t cd_;
};

enum Language { Japanese, English, Western };

// Pre-converted body lines, one pool per charset and language.
class LinePools {
public:
    LinePools()
    {
        Rng rng(0x5EEDull);
        for (int c = 0; c < CharsetCount; ++c) {
            converters_.emplace_back(new Converter(kCharsets[c].iconvName));
            for (Language lang : languagesOf(static_cast<Charset>(c))) {
                auto &pool = pools_[c][lang];
                for (int i = 0; i < 256; ++i)
                    pool.push_back((*converters_.back())(makeLine(rng, lang)) + "\n");
            }
        }
    }
    const std::string &line(Charset c, Language lang, Rng &rng) const
    {
        const auto &pool = pools_[c][lang];
        return pool[rng.below(static_cast<int>(pool.size()))];
    }
    const Converter &converter(Charset c) const { return *converters_[c]; }

    static std::vector<Language> languagesOf(Charset c)
    {
        switch (c) {
        case Jis: case Sjis: return {Japanese};
        case Utf8: return {Japanese, English, Western};
        default: return {English, Western};
        }
    }

private:
    // One line of running text, about 30 to 75 columns wide.
    static std::string makeLine(Rng &rng, Language lang)
    {
        std::string line;
        const size_t limit = lang == Japanese ? 120 : 75; // bytes; a kana is 3 bytes in UTF-8
        do {
            std::string_view s = lang == Japanese ? rng.pick(bench::kJapaneseSentences)
                               : lang == English  ? rng.pick(bench::kEnglishSentences)
                                                  : rng.pick(bench::kWesternSentences);
            if (!line.empty() && line.size() + s.size() > limit)
                break;
            if (!line.empty() && lang != Japanese)
                line += ' ';
            line += s;
        } while (line.size() < limit / 2);
        return line;
    }

    std::vector<std::unique_ptr<Converter>> converters_;
    std::vector<std::string> pools_[CharsetCount][3];
};

struct ExtWeight {
    const char *ext;
    int weight; // per thousand
};
constexpr ExtWeight kExtensions[] = {
    {"mail", 560}, {"ygm", 200}, {"rply", 100}, {"rpry", 15}, {"html", 25},
    {"wmail", 20}, {"htm", 35}, {"iygm", 10}, {"imail", 35},
};

const char *pickExtension(Rng &rng)
{
    int r = rng.below(1000);
    for (const auto &e : kExtensions) {
        if (r < e.weight)
            return e.ext;
        r -= e.weight;
    }
    return "mail";
}

size_t pickSize(Rng &rng)
{
    if (rng.below(100) < 2)
        return 100 * 1024 + static_cast<size_t>(rng.below(200 * 1024));
    const double s = 4096.0 * std::exp(0.55 * rng.normal());
    return static_cast<size_t>(std::clamp(s, 900.0, 60000.0));
}

std::string rfcDate(Rng &rng)
{
    static const char *days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char *months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char *zones[] = {"+0900", "+0900", "+0900", "+0000", "-0800", "+0100",
                                  "+0200", "-0500", "+0530", "+0800", "JST", "GMT"};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %d %s %d %02d:%02d:%02d %s", days[rng.below(7)],
                  1 + rng.below(28), months[rng.below(12)], 2024 + rng.below(3),
                  rng.below(24), rng.below(60), rng.below(60), zones[rng.below(12)]);
    return buf;
}

std::string address(int id)
{
    static const char *users[] = {"ichiro", "hanako", "ken", "miho", "yoko", "grace",
                                  "peter", "jonas", "ana", "lucas", "priya", "olivia"};
    return std::string(users[id % 12]) + "@" + std::string(bench::kDomains[id % bench::kDomains.size()]);
}

std::string makeMail(long index, const LinePools &pools)
{
    Rng rng(0xC0FFEEull * 1000003ull + static_cast<uint64_t>(index));
    const int cr = rng.below(100);
    const Charset cs = cr < 35 ? Jis : cr < 55 ? Sjis : cr < 85 ? Utf8 : Latin1;
    const auto langs = LinePools::languagesOf(cs);
    const Language lang = langs[rng.below(static_cast<int>(langs.size()))];
    const size_t target = pickSize(rng);
    const Converter &conv = pools.converter(cs);

    const int person = rng.below(1000);
    std::string_view name = (lang == Japanese) ? rng.pick(bench::kJapaneseNames)
                                               : rng.pick(bench::kWesternNames);
    if (cs == Jis || cs == Sjis)
        name = rng.pick(bench::kJapaneseNames);
    std::string_view subject = lang == Japanese ? rng.pick(bench::kJapaneseSubjects)
                             : lang == English  ? rng.pick(bench::kEnglishSubjects)
                                                : rng.pick(bench::kWesternSubjects);
    const std::string from = address(person);
    const std::string date = rfcDate(rng);

    std::string m;
    m.reserve(target + 512);
    m += "Return-Path: <" + from + ">\n";
    for (int hops = 2 + rng.below(3); hops > 0; --hops) {
        char buf[320];
        std::snprintf(buf, sizeof buf,
                      "Received: from mx%d.%s (mx%d.%s [192.0.2.%d])\n"
                      "\tby mail.example.org (Postfix) with ESMTPS id %08llX\n"
                      "\tfor <demo@example.org>; %s\n",
                      hops, from.substr(from.find('@') + 1).c_str(), hops,
                      from.substr(from.find('@') + 1).c_str(), 1 + rng.below(250),
                      static_cast<unsigned long long>(rng.next() & 0xFFFFFFFFull), date.c_str());
        m += buf;
    }
    m += "From: " + conv(name) + " <" + from + ">\n";
    m += "To: Demo User <demo@example.org>\n";
    m += "Subject: " + conv(subject) + "\n";
    m += "Date: " + date + "\n";
    char id[96];
    std::snprintf(id, sizeof id, "<%ld.%08llx@%s>", index,
                  static_cast<unsigned long long>(rng.next() & 0xFFFFFFFFull),
                  from.substr(from.find('@') + 1).c_str());
    m += std::string("Message-ID: ") + id + "\n";
    if (rng.below(100) < 30) {
        std::snprintf(id, sizeof id, "<%ld.reply@%s>", index / 2 + 1,
                      std::string(bench::kDomains[index % bench::kDomains.size()]).c_str());
        m += std::string("In-Reply-To: ") + id + "\n";
    }
    m += "MIME-Version: 1.0\n";
    m += rng.below(2) ? "X-Mailer: WEX Composer 2.4\n" : "User-Agent: Mew version 6.8 on Emacs 28.2\n";
    m += "\n";

    const int decl = rng.below(100);
    const std::string contentType = std::string("Content-Type: text/plain; charset=")
                                  + kCharsets[cs].mimeName + "\nContent-Transfer-Encoding: "
                                  + kCharsets[cs].transferEncoding + "\n";
    const std::string wex = std::string("X-WEX-CharSet: ") + kCharsets[cs].wexName + "\n";
    if (decl < 40)
        m += wex;
    else if (decl < 75)
        m += contentType;
    else if (decl < 90)
        m += contentType + wex;
    // else: no declaration at all, as old mail often has.
    m += "\n";

    while (m.size() < target)
        m += pools.line(cs, lang, rng);
    return m;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_synthetic_store N DEST\n");
        return 2;
    }
    char *end = nullptr;
    const long n = std::strtol(argv[1], &end, 10);
    if (*end != '\0' || n < 1 || n > 10000000) {
        std::fprintf(stderr, "make_synthetic_store: N must be a number from 1 to 10000000\n");
        return 2;
    }
    const fs::path dest(argv[2]);
    std::error_code ec;
    fs::remove(dest / "complete", ec);
    for (const char *sub : {"wex", "mh", "maildir/cur", "maildir/new", "maildir/tmp"})
        fs::create_directories(dest / sub);

    const LinePools pools;
    uint64_t bytes = 0;
    for (long i = 1; i <= n; ++i) {
        Rng extRng(0xE77ull * 7919ull + static_cast<uint64_t>(i));
        const std::string name = std::to_string(i) + "." + pickExtension(extRng);
        const std::string mail = makeMail(i, pools);
        const fs::path file = dest / "wex" / name;
        FILE *f = std::fopen(file.c_str(), "wb");
        if (!f || std::fwrite(mail.data(), 1, mail.size(), f) != mail.size() || std::fclose(f) != 0) {
            std::fprintf(stderr, "make_synthetic_store: cannot write %s\n", file.c_str());
            return 1;
        }
        bytes += mail.size();
        const fs::path mh = dest / "mh" / std::to_string(i);
        const fs::path md = dest / "maildir" / "cur" / (std::to_string(i) + ".bench:2,S");
        for (const fs::path &link : {mh, md}) {
            fs::remove(link, ec);
            fs::create_hard_link(file, link, ec);
            if (ec) {
                std::fprintf(stderr, "make_synthetic_store: cannot link %s: %s\n", link.c_str(),
                             ec.message().c_str());
                return 1;
            }
        }
    }
    FILE *done = std::fopen((dest / "complete").c_str(), "w");
    if (!done || std::fprintf(done, "%ld\n", n) < 0 || std::fclose(done) != 0)
        return 1;
    std::printf("%ld mails, %.1f MB in %s\n", n, static_cast<double>(bytes) / 1e6, dest.c_str());
    return 0;
}
