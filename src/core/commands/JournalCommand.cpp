#include "JournalCommand.h"

#include "Journal.h"
#include "TitleLines.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <cstring>

namespace wex {

int RunJournalCommand(int argc, char **argv, FILE *out, FILE *err)
{
    (void)argv;
    if (argc != 2) {
        std::fputs(kJournalUsage, err);
        return 2;
    }
    const Journal journal(Journal::defaultPath(), true);
    if (journal.damaged()) {
        std::fprintf(err, "wex-browser: the journal %s is damaged or cannot be read\n",
                     EscapeLineBytes(QFile::encodeName(journal.path())).constData());
        return 1;
    }
    bool written = true;
    const auto &changes = journal.changes();
    for (auto c = changes.rbegin(); written && c != changes.rend(); ++c) {
        const char *state = c->state == JournalChange::Done ? "done"
                          : c->state == JournalChange::Failed ? "not made" : "unconfirmed";
        const bool forward = c->kind != ChangeKind::Undo && c->kind != ChangeKind::Redo;
        const QByteArray time = QDateTime::fromMSecsSinceEpoch(c->time).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toLatin1();
        written = std::fprintf(out, "%s\t%llu\t%s\t%s%s\t%s\t%s\n", time.constData(), static_cast<unsigned long long>(c->step),
                               ChangeKindName(c->kind), state, forward && journal.undone(c->step) ? ", undone" : "",
                               EscapeLineBytes(c->from).constData(), EscapeLineBytes(c->to).constData())
            > 0;
    }
    if (written && std::fflush(out) == 0 && !std::ferror(out))
        return 0;
    std::fprintf(err, "wex-browser: cannot write the journal: %s\n", std::strerror(errno));
    return 1;
}

} // namespace wex
