#include "LineReader.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace wex {

LineReader::LineReader(std::vector<char> &buffer, int fd) : fd_(fd)
{
    if (buffer.size() < 2 * kHeadMax)
        buffer.resize(2 * kHeadMax);
    data_ = buffer.data();
    capacity_ = buffer.size();
}

// Moves the unread bytes to the front and reads behind them. Called only with
// fewer than kHeadMax unread bytes, so there is always room.
bool LineReader::fill()
{
    if (eof_)
        return false;
    const size_t left = end_ - begin_;
    if (left && begin_)
        std::memmove(data_, data_ + begin_, left);
    begin_ = 0;
    end_ = left;
    ssize_t n;
    do {
        n = ::read(fd_, data_ + end_, capacity_ - end_);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        eof_ = true; // the end, or an error: nothing more comes either way
        return false;
    }
    end_ += size_t(n);
    return true;
}

bool LineReader::skipRestOfLine()
{
    for (;;) {
        if (const void *nl = std::memchr(data_ + begin_, '\n', end_ - begin_)) {
            begin_ = size_t(static_cast<const char *>(nl) - data_) + 1;
            return true;
        }
        begin_ = end_;
        if (!fill())
            return false;
    }
}

bool LineReader::next(QByteArrayView *line, bool *cut)
{
    if (skipping_) {
        skipping_ = false;
        if (!skipRestOfLine())
            return false;
    }
    for (;;) {
        char *p = data_ + begin_;
        const size_t avail = end_ - begin_;
        const size_t window = avail < kHeadMax ? avail : kHeadMax;
        if (const void *nl = window ? std::memchr(p, '\n', window) : nullptr) {
            const size_t len = size_t(static_cast<const char *>(nl) - p) + 1;
            begin_ += len;
            *line = QByteArrayView(p, qsizetype(len));
            *cut = false;
            return true;
        }
        if (avail >= kHeadMax) {
            begin_ += kHeadMax;
            skipping_ = true;
            *line = QByteArrayView(p, qsizetype(kHeadMax));
            *cut = true;
            return true;
        }
        if (!fill()) {
            if (begin_ == end_)
                return false;
            // The last line, without "\n" (fill may have moved it to the front).
            *line = QByteArrayView(data_ + begin_, qsizetype(end_ - begin_));
            begin_ = end_;
            *cut = false;
            return true;
        }
    }
}

} // namespace wex
