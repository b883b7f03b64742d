#pragma once
// Turns the entries of a mail folder into titles: which entries are mails,
// their states from the extension, sender/subject/date from the header lines,
// and the coding from the charset declarations. Attachment folders (a folder
// holding one mail's parts) are scanned through their main text file, which is
// written as a dummy when the folder has none.
//
// Every mail file is read afresh on every scan; only one file is open at a
// time and the read buffer is reused. Files are read as the standard line read
// would with a 4096-byte buffer (pieces of at most 4095 bytes, each seen as a
// NUL-terminated string), but through large block reads.
#include "Coding.h"
#include "TextDecoder.h"
#include "Title.h"
#include <QByteArray>
#include <QByteArrayView>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace wex {

class TitleScanner {
public:
    // The coding must outlive the scanner.
    explicit TitleScanner(const Coding &coding);

    // One title for each mail of the folder, in byte order of the entry names,
    // unsorted otherwise. *listed (when given) says whether the folder could be
    // listed at all; an unlistable folder gives an empty array, and errno then
    // says why.
    TitleArray loadTitleArray(const QByteArray &folder, bool *listed = nullptr);
    // Scans one entry (a file or an attachment folder) and appends its title;
    // appends nothing when the entry is no mail or cannot be opened. The
    // entry cache, when one is set, is asked first (also by the form below).
    void addTitleOf(const QByteArray &path, TitleArray &titles);
    // The same for an item the caller has just looked up: entryType is its
    // type as a d_type value (DT_REG, DT_DIR; DT_UNKNOWN asks the file system)
    // and folderFd, when not -1, an open descriptor of the folder that holds
    // the item under the path's last component. Both spare the scan a walk
    // along the whole path.
    //
    // With kEntryNotFollowed the item is one an alias names: it is opened
    // without following a final link, and when it is a link itself or is
    // gone nothing is done and the answer is false (the caller resolves it
    // further: the mail may have changed state since the alias was made).
    // Otherwise the answer is always true.
    static constexpr unsigned char kEntryNotFollowed = 0xFF;
    bool addTitleOf(const QByteArray &path, unsigned char entryType, int folderFd, TitleArray &titles);
    // As addTitleOf, without the entry cache; a DT_REG entry is only ever
    // read as a file, never written to. When a title is appended and
    // afterRead is given, it receives the fstat of the file read, taken once
    // reading was done.
    bool addTitleOfEntry(QByteArray path, unsigned char entryType, int folderFd, TitleArray &titles,
                         struct stat *afterRead = nullptr);

    // Titles known without reading the entry (the header cache).
    class EntryCache {
    public:
        virtual ~EntryCache() = default;
        // Appends the title of the entry at path and answers true when it is
        // known and still valid; false to have the entry scanned. Without
        // followLinks, an entry that is a link is never answered.
        virtual bool appendCachedTitle(const QByteArray &path, bool followLinks, TitleArray &titles) = 0;
    };
    // The cache must outlive the scanner or be unset (nullptr) first.
    void setEntryCache(EntryCache *cache) { entryCache_ = cache; }
    const Coding &coding() const { return coding_; }

    // Whether an entry of this name could give a title at all (as a file or
    // an attachment folder); entries that fail it are never opened.
    static bool isMailName(QByteArrayView name);

    static bool isMailExtension(QByteArrayView extension);
    // The attachment folder whose main text path is ("a/x.mpart" for
    // "a/x.mpart/x.mail"); path itself for anything else. A mail reached by
    // its main text is listed, moved and deleted as its folder.
    static QByteArray wholeMailOf(const QByteArray &path);
    // Applies the extension's state; false (title unchanged) when it is no mail extension.
    static bool setState(QByteArrayView extension, Title &title);
    // The state an entry's names give its title: the extension's, else what
    // the entry's name prefix and kind (archiveState set first) give.
    // extension: of the main text for an attachment folder.
    static void setStateOfEntry(QByteArrayView name, QByteArrayView extension, Title &title);
    // Whether an entry of these names gives a title once it can be read.
    static bool isAcceptedEntry(QByteArrayView name, QByteArrayView extension, bool archive);
    // When line begins with tag (ASCII case-insensitive), sets the title's code
    // from the charset after it and returns 1; otherwise 0.
    int readContentType(const char *tag, const char *line, Title &title) const;
    // The NUL-terminated bytes decoded in the encoding; nullopt when invalid.
    std::optional<QString> stringWithCString(const char *bytes, uint32_t encoding);

    // Attachment folders. isAttachedMail answers false for a folder whose
    // extension is neither a mail extension nor "mpart" (path untouched);
    // otherwise true, with *path replaced by the folder's main text file (a
    // dummy one is written when there is none).
    bool isAttachedMail(QByteArray *path);
    // An attachment folder's main text as the listing picks it; empty when it
    // has none (the listing then writes a dummy one). Nothing is written.
    static QByteArray mainTextOf(const QByteArray &folder);
    static QByteArray stemOf(const QByteArray &folder);
    static bool CheckFileWithPath(const QByteArray &stem, const char *extension, QByteArray *out);
    void makeDummyMainAtPath(const QByteArray &stem, QByteArray *out);

private:
    // Header and charset phases over an open regular file.
    void readHeaders(int fd, off_t fileSize, Title &title);

    const Coding &coding_;
    // Every title starts as a copy of this one, so the localised defaults are
    // looked up once per scanner and shared by all titles, not made per mail.
    const Title prototype_;
    TextDecoder decoder_;
    std::vector<char> buffer_; // reused block buffer
    // Raw From and Subject values of the file being read; reused, so a scan
    // allocates nothing per line. A value is at most one piece long.
    std::string fromValue_, subjectValue_;
    std::vector<char> names_; // entry names of the folder being listed
    EntryCache *entryCache_ = nullptr;
};

} // namespace wex
