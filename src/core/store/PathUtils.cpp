// Small path and string helpers shared by the whole program.
//
// Paths travel as file-system bytes; Path2String/String2Path are the only
// place where they turn into display strings and back, so the coding rule
// (Qt's file-name coding, UTF-8 here) lives in one spot.
#include "PathUtils.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>

#include <cstring>
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

void RemoveLastNL(char *text)
{
    if (!text)
        return;
    const size_t len = std::strlen(text);
    if (len > 0 && text[len - 1] == '\n')
        text[len - 1] = '\0';
}

void RemoveLastNL(QByteArray &text)
{
    if (text.endsWith('\n'))
        text.chop(1);
}

int MinorSystemVersionOf(const QString &versionString)
{
    // "Version 10.4.11 (Build 8S2167)" and "Version 10.3" both qualify; the
    // third number is optional and ignored.
    static const QRegularExpression re(QStringLiteral("^Version\\s+(\\d+)\\.(\\d+)"));
    const QRegularExpressionMatch m = re.match(versionString);
    if (!m.hasMatch())
        return -1;
    bool ok = false;
    const int minor = m.captured(2).toInt(&ok);
    return ok ? minor : -1;
}

QString OperatingSystemVersionString()
{
    // Reports a modern release so that the newer behaviour of the folder
    // browser applies; the kernel version is there for people reading it.
    return QStringLiteral("Version 10.16 (Linux %1)").arg(QSysInfo::kernelVersion());
}

int MinorSystemVersion()
{
    return MinorSystemVersionOf(OperatingSystemVersionString());
}

} // namespace wex
