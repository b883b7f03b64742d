#pragma once
// One folder of the file system as the column browser lists it.
//
// Nodes are short-lived values: made, asked and dropped within one browser
// operation. Nothing is cached; subNodes() lists the folder again each call.
// Paths and names are the file system's bytes, whatever their coding, so every
// listed folder can be opened again by its path; DisplayName() makes the text
// a name shows as.
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace wex {

class FSNodeInfo {
public:
    // The parent must outlive the node. Without a parent, relativePath is absolute.
    static FSNodeInfo nodeWithParent(const FSNodeInfo *parent, const QByteArray &relativePath);

    // Class-wide order of visibleSubNodes(): "name" (by name) or "modDate"
    // (newest first); any other value behaves like "name".
    static QString sortFolderTag();
    static void setSortFolderTag(const QString &tag);

    const QByteArray &relativePath() const { return relativePath_; }
    // Modification time (links followed) read when the node was made; nullopt
    // when the item's attributes could not be read.
    const std::optional<qint64> &modDate() const { return modDate_; }

    QByteArray absolutePath() const;
    QByteArray lastPathComponent() const;
    bool isVisible() const;   // non-empty name not beginning with "."

    // Every entry that is a folder (links followed), in byte order of the names.
    std::vector<FSNodeInfo> subNodes() const;
    // The visible ones in display order; under "modDate" newest first (stable;
    // nodes without a date after all dated ones).
    std::vector<FSNodeInfo> visibleSubNodes() const;
    // The same in the order tag names; safe on any thread (it does not read
    // the class-wide order, which only the window's thread may change).
    std::vector<FSNodeInfo> visibleSubNodes(const QString &sortTag) const;
    // Newest first: -1 when this node is newer than other, 1 when older, 0 equal.
    int compareByDate(const FSNodeInfo &other) const;

private:
    FSNodeInfo(const FSNodeInfo *parent, const QByteArray &relativePath);
    QByteArray relativePath_;
    const FSNodeInfo *parent_ = nullptr;
    std::optional<qint64> modDate_;
};

} // namespace wex
