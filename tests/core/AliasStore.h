#pragma once
// A scratch store with the suite's alias folders under "temp", as real files and links.
#include "CoreTest.h"
#include "PathUtils.h"
#include "Title.h"

namespace wex::test {

class AliasStore {
public:
    QByteArray root() const { return dir.path(); }

    // A mail dated day (December 2026), subject s<day>; mid, irt: Message-ID, In-Reply-To when set.
    QByteArray mail(const QByteArray &relative, int day, const QByteArray &mid = {}, const QByteArray &irt = {}) const
    {
        QByteArray text = "From: f" + QByteArray::number(day) + "\nSubject: s" + QByteArray::number(day) +
                          "\nDate: " + QByteArray::number(day) + " Dec 2026 10:00:00 +0900\n";
        if (!mid.isEmpty())
            text += "Message-ID: " + mid + "\n";
        if (!irt.isEmpty())
            text += "In-Reply-To: " + irt + "\n";
        return dir.write(relative, text + "\nbody\n");
    }

    // A symbolic link at relative pointing to target (taken as it is).
    QByteArray link(const QByteArray &relative, const QByteArray &target) const
    {
        const QByteArray path = dir.at(relative);
        QDir().mkpath(QString::fromUtf8(path.left(path.lastIndexOf('/'))));
        EXPECT_EQ(::symlink(target.constData(), path.constData()), 0) << path.constData();
        return path;
    }
    QByteArray unreadAlias(const QByteArray &name, const QByteArray &target) const
    {
        return link("temp/unreadAliases/" + name, target);
    }
    QByteArray refAlias(const QByteArray &id, const char *ext, const QByteArray &name, const QByteArray &target) const
    {
        return link("temp/refByAliases/" + id + "." + ext + "/" + name, target);
    }
    // "reply answers original": the reply under the original's ID.iftref, the original under ID.midref.
    void answers(const QByteArray &reply, const QByteArray &original, const QByteArray &id) const
    {
        refAlias(id, "iftref", GetPathBase(reply), reply);
        refAlias(id, "midref", GetPathBase(original), original);
    }

    TestDir dir;
};

// The subjects of the titles in order, as "s1 s2 ...".
inline QByteArray Subjects(const TitleArray &titles)
{
    QByteArray out;
    for (const Title &t : titles)
        out += t.subject().toUtf8() + " ";
    return out.trimmed();
}

} // namespace wex::test
