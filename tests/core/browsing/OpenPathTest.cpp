// What a command-line path opens, over real files.
#include "Coding.h"
#include "CoreTest.h"
#include "OpenPath.h"
#include "TitleScanner.h"

// Folders (links resolved), mails under their title path, and nothing (with a reason).
TEST(OpenPathTest, FoldersMailsAndNothing)
{
    TestDir dir;
    Coding coding;
    TitleScanner scanner(coding);
    dir.write("store/InBox/1.ygm", "From: a@example.org\n\n");
    dir.write("store/InBox/notes.pdf", "%PDF");
    dir.write("store/InBox/S.mpart/S.mail", "From: b@example.org\n\n");
    ::symlink(dir.at("store").constData(), dir.at("link").constData());
    const QByteArray inbox = dir.at("store/InBox");
    struct Case { QByteArray argument; OpenPath::Kind kind; QByteArray mail; } cases[] = {
        {inbox + "/", OpenPath::Folder, {}}, {dir.at("link/InBox"), OpenPath::Folder, {}},
        {".", OpenPath::Folder, {}},
        {dir.at("link/InBox/1.ygm"), OpenPath::Mail, inbox + "/1.ygm"}, {"1.ygm", OpenPath::Mail, inbox + "/1.ygm"},
        {inbox + "/S.mpart/", OpenPath::Mail, inbox + "/S.mpart/S.mail"}, // an attachment folder is its main text
        {inbox + "/notes.pdf", OpenPath::Nothing, {}}, {QByteArray(), OpenPath::Nothing, {}},
    };
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromUtf8(inbox))); // relative paths from here
    for (const Case &c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        const OpenPath target = ResolveOpenPath(c.argument, scanner);
        EXPECT_EQ(target.kind, c.kind);
        EXPECT_EQ(target.folder, c.kind == OpenPath::Nothing ? QByteArray() : inbox);
        EXPECT_EQ(target.mail, c.mail);
        EXPECT_EQ(target.reason.isEmpty(), c.kind != OpenPath::Nothing);
    }
    QDir::setCurrent(before);
}

