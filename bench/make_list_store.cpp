// Writes the store of the unread and related lists benchmark from a folder
// of synthetic mails (bench/make_synthetic_store's DEST/wex):
//
//   make_list_store SRC DEST
//
// DEST/store/Folders/F00 .. F19   the N mails of SRC, 1,000 to a folder, each
//                                 with its Message-ID and In-Reply-To lines
//                                 rewritten so that the mails form threads
//                                 of 2, 3, ..., 50, 2, 3, ... mails (each a
//                                 chain: mail k answers mail k-1)
// DEST/store/temp/unreadAliases/  a relative link to every tenth mail
// DEST/store/temp/refByAliases/   ID.iftref and ID.midref folders of the
//                                 threads, relative links, named as the suite
//                                 names them
// DEST/unread/                    hard links to the same mails as the unread
//                                 aliases, under the same names: a folder
//                                 whose --list reads exactly those files
// DEST/deepest                    the path of the first mail of the first
//                                 50-mail thread
// DEST/complete                   written last, holding N
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPerFolder = 1000;
constexpr int kUnreadEvery = 10;
constexpr int kShortest = 2, kLongest = 50;

[[noreturn]] void die(const std::string &what)
{
    std::fprintf(stderr, "make_list_store: %s\n", what.c_str());
    std::exit(1);
}

std::string readFile(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    if (!in)
        die("cannot read " + p.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path &p, const std::string &bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush())
        die("cannot write " + p.string());
}

bool startsWithNoCase(const std::string &s, size_t at, const char *tag)
{
    for (size_t i = 0; tag[i]; ++i)
        if (at + i >= s.size() || std::tolower(static_cast<unsigned char>(s[at + i])) != std::tolower(tag[i]))
            return false;
    return true;
}

// The mail with its header's Message-ID set to mid and its In-Reply-To set to
// irt (removed when irt is empty).
std::string rewrite(const std::string &mail, const std::string &mid, const std::string &irt)
{
    std::string out;
    size_t at = 0;
    bool header = true;
    while (at < mail.size()) {
        size_t end = mail.find('\n', at);
        end = end == std::string::npos ? mail.size() : end + 1;
        if (header && end - at == 1) {
            header = false;
        } else if (header && startsWithNoCase(mail, at, "Message-ID:")) {
            out += "Message-ID: " + mid + "\n";
            if (!irt.empty())
                out += "In-Reply-To: " + irt + "\n";
            at = end;
            continue;
        } else if (header && startsWithNoCase(mail, at, "In-Reply-To:")) {
            at = end;
            continue;
        }
        out.append(mail, at, end - at);
        at = end;
    }
    return out;
}

std::string idOf(int thread, int member)
{
    return "<t" + std::to_string(thread) + "." + std::to_string(member) + "@bench.example.org>";
}

void link(const fs::path &target, const fs::path &at)
{
    std::error_code ec;
    fs::create_symlink(target, at, ec);
    if (ec)
        die("cannot link " + at.string() + ": " + ec.message());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_list_store SRC DEST\n");
        return 2;
    }
    const fs::path src(argv[1]), dest(argv[2]);
    // Mail names "i.ext", in the order of i.
    std::vector<std::pair<long, std::string>> names;
    for (const auto &e : fs::directory_iterator(src)) {
        const std::string name = e.path().filename().string();
        names.emplace_back(std::strtol(name.c_str(), nullptr, 10), name);
    }
    std::sort(names.begin(), names.end());
    if (names.empty())
        die("no mails in " + src.string());

    std::error_code ec;
    fs::remove_all(dest, ec);
    const fs::path store = dest / "store";
    const fs::path unread = store / "temp" / "unreadAliases", refs = store / "temp" / "refByAliases";
    for (const fs::path &p : {unread, refs, dest / "unread"})
        fs::create_directories(p);

    int thread = 0, member = 0, length = kShortest;
    std::string deepest;
    std::string previousRelative; // the mail before in this thread, from a reference folder
    std::string previousName;
    for (size_t k = 0; k < names.size(); ++k) {
        const std::string &name = names[k].second;
        char folderName[8];
        std::snprintf(folderName, sizeof folderName, "F%02d", int(k / kPerFolder));
        const fs::path folder = store / "Folders" / folderName;
        if (k % kPerFolder == 0)
            fs::create_directories(folder);
        const std::string flat = std::string(folderName) + "_" + name;
        const std::string relative = std::string("../../../Folders/") + folderName + "/" + name;

        const std::string mid = idOf(thread, member);
        const std::string irt = member ? idOf(thread, member - 1) : std::string();
        writeFile(folder / name, rewrite(readFile(src / name), mid, irt));
        if (member) {
            const fs::path answers = refs / (irt + ".iftref"), answered = refs / (irt + ".midref");
            fs::create_directories(answers);
            fs::create_directories(answered);
            link(relative, answers / flat);
            link(previousRelative, answered / previousName);
        } else if (length == kLongest && deepest.empty()) {
            deepest = (folder / name).string();
        }
        previousRelative = relative;
        previousName = flat;

        if ((k + 1) % kUnreadEvery == 0) {
            link(std::string("../../Folders/") + folderName + "/" + name, unread / flat);
            fs::create_hard_link(folder / name, dest / "unread" / name, ec);
            if (ec)
                die("cannot link " + name + ": " + ec.message());
        }
        if (++member == length) {
            member = 0;
            ++thread;
            length = length == kLongest ? kShortest : length + 1;
        }
    }
    if (deepest.empty())
        die("too few mails for a thread of " + std::to_string(kLongest));
    writeFile(dest / "deepest", deepest + "\n");
    writeFile(dest / "complete", std::to_string(names.size()) + "\n");
    std::printf("%zu mails, %zu unread aliases, %d threads in %s\n", names.size(),
                names.size() / kUnreadEvery, thread + (member ? 1 : 0), store.c_str());
    return 0;
}
