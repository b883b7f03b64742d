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
    // A file larger than this is read first only this far: most mails
    // decide their title within their first lines, and the rest of a large
    // one is then never copied out of the page cache.
    static constexpr size_t kFirstRead = 16 * 1024;
    // Room behind the data for the terminator and for the 64-byte block scan
    // that may run past the last valid byte.
    static constexpr size_t kSlack = 64;

    // The buffer must outlive the reader; it is grown to kBlockSize + kSlack.
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
    // The next piece whose first byte is a or b, exactly as repeated next()
    // calls would find it; the pieces before it are passed over in bulk.
    char *nextStartingWith(char a, char b, size_t *length);

private:
    void restoreTerminator();
    void fill();
    // Advances begin_ over whole pieces in the buffer that start with neither
    // a nor b; stops at one that does, or where it would need more data.
    void skipPieces(char a, char b);

    char *data_;
    size_t capacity_; // bytes a read may fill; kSlack bytes follow
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
