// Fuzzes the scan of one mail file: the piece reader, the header and charset
// phases, the decoding of the values and the list line of the title.
//
// The input (after a first byte that chooses the file's name, and so its
// state) becomes a file in a scratch folder made once per process.
#include "Coding.h"
#include "ListCommand.h"
#include "TitleScanner.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const kNames[] = {
    "1.ygm", "2.mail", "upload3.txt", "error-mail-original4.txt", "5.wmail", "6.html", "7.iygm", "a.mpart/a",
};

QByteArray &ScratchFolder()
{
    static QByteArray folder = [] {
        char pattern[] = "/tmp/fuzz_scan-XXXXXX";
        if (!mkdtemp(pattern))
            abort();
        QByteArray f(pattern);
        mkdir((f + "/a.mpart").constData(), 0700);
        return f;
    }();
    return folder;
}

void RemoveScratch()
{
    const QByteArray folder = ScratchFolder();
    for (const char *name : kNames)
        unlink((folder + "/" + name).constData());
    rmdir((folder + "/a.mpart").constData());
    rmdir(folder.constData());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ScratchFolder();
    atexit(RemoveScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const wex::Coding coding; // the bundled coding list
    static wex::TitleScanner scanner(coding);
    if (size == 0)
        return 0;
    const char *name = kNames[data[0] % (sizeof kNames / sizeof *kNames)];
    const QByteArray path = ScratchFolder() + "/" + name;
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        abort();
    if (write(fd, data + 1, size - 1) != ssize_t(size - 1))
        abort();
    close(fd);

    wex::TitleArray titles;
    // An attachment folder is scanned through the folder, a file directly.
    const bool archive = QByteArray(name).contains('/');
    scanner.addTitleOf(archive ? ScratchFolder() + "/a.mpart" : path, titles);
    if (titles.size() != 1)
        __builtin_trap(); // every one of these names is a mail
    const QByteArray line = wex::FormatTitleLine(titles.front());
    if (line.count('\t') != 5 || line.contains('\n') || line.contains('\r'))
        __builtin_trap(); // the escapes keep one title on one line of six fields
    unlink(path.constData());
    return 0;
}
