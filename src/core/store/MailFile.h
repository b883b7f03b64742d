#pragma once
// Reading a mail file's bytes whole, for showing or searching its text.
#include <QByteArray>

namespace wex {

struct MailFileBytes {
    enum Status { Read, Unreadable, TooLarge };
    Status status = Unreadable;
    QByteArray bytes; // the whole file when status is Read
};

// The file is opened by its bytes (a name need not be valid UTF-8), without
// blocking, and read only when it is a regular file of at most maxBytes: a
// FIFO or a device would never end, and a huge file is not taken into memory.
MailFileBytes ReadMailFile(const QByteArray &path, qint64 maxBytes);

} // namespace wex
