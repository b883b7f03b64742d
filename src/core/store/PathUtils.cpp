// Small path and string helpers shared by the whole program.
//
// Paths travel as file-system bytes; Path2String/String2Path are the only
// place where they turn into display strings and back, so the coding rule
// (Qt's file-name coding, UTF-8 here) lives in one spot.
#include "PathUtils.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>

namespace wex {

QString Path2String(QByteArrayView path)
{
    return QFile::decodeName(path.toByteArray());
}

QByteArray String2Path(const QString &path)
{
    return QFile::encodeName(path);
}

bool IsPathDirectory(const QByteArray &path)
{
    if (path.isEmpty())
        return false;
    struct stat st;
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString Localize(const char *key)
{
    if (!key)
        return QString();
    // translate() hands back the key itself when no translator knows it.
    return QCoreApplication::translate("WEX", key);
}

int HeadStrCL(const char *head, const char *text)
{
    if (!head || !*head)
        return 1;
    if (!text)
        return 0;
    auto lower = [](unsigned char c) -> unsigned char {
        return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
    };
    for (; *head; ++head, ++text) {
        // A shorter text ends here; its NUL never equals a head byte.
        if (!*text || lower(static_cast<unsigned char>(*head)) != lower(static_cast<unsigned char>(*text)))
            return 0;
    }
    return 1;
}

QByteArray GetPathBase(QByteArrayView path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return path.sliced(slash + 1).toByteArray();
}

} // namespace wex
