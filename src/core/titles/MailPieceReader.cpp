#include "MailPieceReader.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wex {

MailPieceReader::MailPieceReader(std::vector<char> &buffer, int fd, off_t fileSize)
    : fd_(fd), fileSize_(fileSize)
{
    if (buffer.size() < kBlockSize + kSlack)
        buffer.resize(kBlockSize + kSlack);
    data_ = buffer.data();
    capacity_ = buffer.size() - kSlack;
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
    size_t want = capacity_ - end_;
    if (total_ == 0 && fileSize_ > off_t(kFirstRead) && want > kFirstRead)
        want = kFirstRead;
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

char *MailPieceReader::nextStartingWith(char a, char b, size_t *length)
{
    for (;;) {
        restoreTerminator();
        skipPieces(a, b);
        // Whatever the bulk skip could not decide is taken the exact way.
        char *p = next(length);
        if (!p || p[0] == a || p[0] == b)
            return p;
    }
}

#if defined(__SSE2__)
namespace {
constexpr size_t kScanBlock = 64;
// Bit i set when byte i of the 64 at p is a line feed.
inline uint64_t newlineMask(const char *p)
{
    const __m128i nl = _mm_set1_epi8('\n');
    uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
        mask |= uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, nl)))) << (16 * i);
    }
    return mask;
}
} // namespace

// Newlines are found 64 bytes at a time and every newline of a block is
// taken from one bit mask, instead of one memchr call per line. Piece
// boundaries stay exactly those of next(): a piece ends at its first "\n" or
// after kPieceMax bytes. Loads may read up to 63 bytes past end_ (into the
// slack); bits for those bytes are never used.
void MailPieceReader::skipPieces(char a, char b)
{
    size_t s = begin_; // start of the current piece
    if (s >= end_)
        return;
    size_t block = s & ~(kScanBlock - 1);
    uint64_t mask = newlineMask(data_ + block) & (~uint64_t(0) << (s - block)); // newlines at or after s
    while (s < end_ && data_[s] != a && data_[s] != b) {
        while (!mask && block + kScanBlock < end_ && block + kScanBlock < s + kPieceMax) {
            block += kScanBlock;
            mask = newlineMask(data_ + block);
        }
        const size_t q = mask ? block + size_t(__builtin_ctzll(mask)) : end_;
        if (q < end_ && q - s < kPieceMax) {
            s = q + 1;
            mask &= mask - 1;
            continue;
        }
        // No "\n" among the next kPieceMax bytes, as far as they have been read.
        if (s + kPieceMax > end_)
            break; // undecided until more is read
        s += kPieceMax;
        block = s & ~(kScanBlock - 1);
        mask = newlineMask(data_ + block) & (~uint64_t(0) << (s - block));
    }
    begin_ = s;
}
#else
void MailPieceReader::skipPieces(char, char) {}
#endif

} // namespace wex
