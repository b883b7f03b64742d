#include "MailFile.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex {

MailFileBytes ReadMailFile(const QByteArray &path, qint64 maxBytes)
{
    MailFileBytes out;
    const int fd = path.contains('\0') ? -1 : ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return out;
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (info.st_size > maxBytes) {
        out.status = MailFileBytes::TooLarge;
        return out;
    }
    out.bytes = file.readAll();
    out.status = file.error() == QFileDevice::NoError ? MailFileBytes::Read : MailFileBytes::Unreadable;
    if (out.status != MailFileBytes::Read)
        out.bytes.clear();
    return out;
}

} // namespace wex
