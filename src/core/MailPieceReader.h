#pragma once
// Splits an open mail file into the pieces the standard line read (fgets)
// with a 4096-byte buffer would return, without stdio and without copying:
// a piece runs up to and including the next "\n", or is 4095 bytes long when
// no "\n" comes sooner, or is what is left before the end of the file.
//
// The file is read in large blocks into a buffer the caller owns and reuses
// for every file. Each piece handed out is NUL-terminated in place, so it can
// be used as the C string fgets would have produced (bytes after an embedded
// NUL are invisible to string functions, as they were there). The byte that
// the terminator covers is put back before the next piece is made.
#include <cstddef>
#include <sys/types.h>
#include <vector>

namespace wex {

class MailPieceReader {
public:
    static constexpr size_t kPieceMax = 4095; // a 4096-byte line buffer less its NUL
    static constexpr size_t kBlockSize = 128 * 1024;

    // The buffer must outlive the reader; it is grown to kBlockSize + 1.
    // fileSize (from fstat) only lets the reader skip the read that would
    // confirm the end of a file; a wrong value costs one read, nothing else.
    MailPieceReader(std::vector<char> &buffer, int fd, off_t fileSize);
    ~MailPieceReader();
    MailPieceReader(const MailPieceReader &) = delete;
    MailPieceReader &operator=(const MailPieceReader &) = delete;

    // The next piece, NUL-terminated, valid until the next call; nullptr at the
    // end of the file or after a read error. *length is the piece's full byte
    // count (embedded NULs included).
    char *next(size_t *length);

private:
    void restoreTerminator();
    void fill();

    char *data_;
    size_t capacity_; // bytes a read may fill; data_[capacity_] is the spare terminator slot
    int fd_;
    off_t fileSize_;
    off_t total_ = 0;  // bytes read so far
    size_t begin_ = 0; // unread bytes lie in [begin_, end_)
    size_t end_ = 0;
    bool eof_ = false;
    char *terminated_ = nullptr; // where the last piece's NUL was written
    char saved_ = 0;             // the byte it covers
};

} // namespace wex
