#include "MoveFolders.h"

#include "DefaultsStore.h"

#include <QJsonArray>

namespace wex {

QString MoveFolderStoredForm(const QString &absolute, const QString &root)
{
    if (root.isEmpty())
        return absolute;
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    // Nothing after the prefix means the root itself.
    if (absolute.size() > prefix.size() && absolute.startsWith(prefix))
        return absolute.mid(prefix.size());
    return absolute;
}

QString ResolveMoveFolder(const QString &entry, const QString &root)
{
    if (entry.startsWith(QLatin1Char('/')))
        return entry;
    if (root.isEmpty())
        return QString();
    return root.endsWith(QLatin1Char('/')) ? root + entry : root + QLatin1Char('/') + entry;
}

QString MoveFolderTitle(const QString &entry)
{
    const QString last = entry.mid(entry.lastIndexOf(QLatin1Char('/')) + 1);
    return last.isEmpty() ? entry : last;
}

QStringList LoadMoveFolders(const DefaultsStore &defaults)
{
    QStringList folders;
    if (const std::optional<QJsonArray> array = defaults.arrayForKey(QLatin1String(kMoveFolderKey)))
        for (const QJsonValue &value : *array)
            if (value.isString())
                folders.append(value.toString());
    return folders;
}

void SaveMoveFolders(DefaultsStore &defaults, const QStringList &folders)
{
    defaults.setArray(QLatin1String(kMoveFolderKey), QJsonArray::fromStringList(folders));
}

QString Quoted(const QString &text) { return QStringLiteral("\u201C%1\u201D").arg(text); }

} // namespace wex
