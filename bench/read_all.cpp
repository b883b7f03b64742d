// The floors of the scan benchmark: opens every entry of a folder and reads
// every byte, doing nothing with it; or, with --stat, only stats every entry
// (links followed), which is what a listing from the header cache cannot do
// without.
//
//   read_all [--stat] FOLDER
//
// Prints one line per file (its name and size) so its output has the same
// shape as the scanners' and the harness can check that every file was read.
// Entries whose names begin with "." and entries that are not regular files
// are passed over, as the scanners pass them over.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    const bool statOnly = argc == 3 && std::strcmp(argv[1], "--stat") == 0;
    if (argc != 2 && !statOnly) {
        std::fprintf(stderr, "usage: read_all [--stat] FOLDER\n");
        return 2;
    }
    const char *folder = argv[argc - 1];
    DIR *dir = opendir(folder);
    if (!dir) {
        std::fprintf(stderr, "read_all: %s: %s\n", folder, std::strerror(errno));
        return 1;
    }
    const int dirFd = dirfd(dir);
    static char buffer[1 << 16];
    int status = 0;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (statOnly) {
            struct stat st;
            if (fstatat(dirFd, entry->d_name, &st, 0) != 0) {
                status = 1;
                continue;
            }
            if (S_ISREG(st.st_mode))
                std::printf("%s\t%llu\n", entry->d_name, static_cast<unsigned long long>(st.st_size));
            continue;
        }
        const int fd = openat(dirFd, entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            status = 1;
            continue;
        }
        struct stat st;
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(fd);
            continue;
        }
        unsigned long long total = 0;
        ssize_t got;
        while ((got = read(fd, buffer, sizeof buffer)) > 0)
            total += static_cast<unsigned long long>(got);
        if (got < 0)
            status = 1;
        close(fd);
        std::printf("%s\t%llu\n", entry->d_name, total);
    }
    closedir(dir);
    return status;
}
