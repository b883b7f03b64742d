#include "MailPieceReader.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace wex {

MailPieceReader::MailPieceReader(std::vector<char> &buffer, int fd, off_t fileSize)
    : fd_(fd), fileSize_(fileSize)
{
    if (buffer.size() < kBlockSize + 1)
        buffer.resize(kBlockSize + 1);
    data_ = buffer.data();
    capacity_ = buffer.size() - 1;
}

MailPieceReader::~MailPieceReader() { restoreTerminator(); }

void MailPieceReader::restoreTerminator()
{
    if (terminated_) {
        *terminated_ = saved_;
        terminated_ = nullptr;
    }
}

// Moves the unread tail to the front and reads as much as fits behind it.
// Called only when fewer than kPieceMax bytes and no "\n" remain, so there is
// always room.
void MailPieceReader::fill()
{
    const size_t left = end_ - begin_;
    if (left && begin_)
        std::memmove(data_, data_ + begin_, left);
    begin_ = 0;
    end_ = left;
    const size_t want = capacity_ - end_;
    ssize_t n;
    do {
        n = ::read(fd_, data_ + end_, want);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        // The end, or an error (EIO, EAGAIN on something that is no plain
        // file): either way nothing more comes from this file.
        eof_ = true;
        return;
    }
    end_ += size_t(n);
    total_ += n;
    // A short read of a regular file that has delivered its whole size is the
    // end; skipping the read that would return 0 saves a system call per mail.
    if (size_t(n) < want && total_ >= fileSize_)
        eof_ = true;
}

char *MailPieceReader::next(size_t *length)
{
    restoreTerminator();
    for (;;) {
        const size_t avail = end_ - begin_;
        char *p = data_ + begin_;
        const size_t window = avail < kPieceMax ? avail : kPieceMax;
        size_t len = 0;
        if (const void *nl = window ? std::memchr(p, '\n', window) : nullptr)
            len = size_t(static_cast<const char *>(nl) - p) + 1;
        else if (avail >= kPieceMax)
            len = kPieceMax;
        else if (!eof_) {
            fill();
            continue;
        } else if (avail == 0)
            return nullptr;
        else
            len = avail;
        begin_ += len;
        terminated_ = p + len;
        saved_ = *terminated_;
        *terminated_ = '\0';
        *length = len;
        return p;
    }
}

} // namespace wex
