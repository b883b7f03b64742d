#pragma once
// Reads an open file line by line, for searches that look at the beginning of
// each line (header tags anywhere in a mail). A line runs up to and including
// its "\n", or to the end of the file.
//
// Memory stays bounded whatever the file holds: only the first kHeadMax bytes
// of a line are handed out (the line is then reported cut and the rest of it
// is passed over). Bytes are handed out exactly, embedded NULs included.
#include <QByteArrayView>
#include <cstddef>
#include <vector>

namespace wex {

class LineReader {
public:
    static constexpr size_t kHeadMax = 64 * 1024;

    // The buffer must outlive the reader; it is grown to hold two heads, so
    // that one whole head always fits behind a partly read line.
    LineReader(std::vector<char> &buffer, int fd);

    // The next line (its first kHeadMax bytes when *cut), valid until the next
    // call; false at the end of the file or after a read error.
    bool next(QByteArrayView *line, bool *cut);

private:
    bool fill(); // false when nothing more comes
    bool skipRestOfLine();

    char *data_;
    size_t capacity_;
    int fd_;
    size_t begin_ = 0, end_ = 0; // unread bytes lie in [begin_, end_)
    bool eof_ = false;
    bool skipping_ = false; // the last line was cut: its rest is still to pass over
};

} // namespace wex
