#include "Launcher.h"

#include "Aliases.h"
#include "ShellCommand.h"
#include "StoreLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <memory>

// File names travel to QProcess as QString; a name whose bytes do not survive
// the round trip through the file-name coding (not valid UTF-8) would reach
// the program as another name. Such a file is refused rather than handed over
// under a name that does not exist.

namespace wex {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Launcher)
};

LaunchResult Started(const QString &program)
{
    LaunchResult result;
    result.started = true;
    result.program = program;
    return result;
}

LaunchResult NotStarted(const QString &program, const QString &reason)
{
    LaunchResult result;
    result.program = program;
    result.reason = reason;
    return result;
}

QString DisplayName(const QString &program)
{
    const QString name = QFileInfo(program).fileName();
    return name.isEmpty() ? program : name;
}

// The argument form of a file: absolute, and exactly the file's bytes.
bool FileArgument(const QByteArray &file, QString *argument)
{
    if (file.isEmpty())
        return false;
    QByteArray absolute = file;
    if (!absolute.startsWith('/'))
        absolute = QFile::encodeName(QDir::currentPath()) + '/' + absolute;
    const QString decoded = QFile::decodeName(absolute);
    if (QFile::encodeName(decoded) != absolute)
        return false;
    *argument = decoded;
    return true;
}

LaunchResult StartDetached(const QString &executable, const QStringList &arguments, const QString &shown)
{
    QProcess process;
    process.setProgram(executable);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return NotStarted(shown, Texts::tr("%1 could not be started.").arg(shown));
    return Started(shown);
}

LaunchResult StartWithFile(const QString &program, const QByteArray &file)
{
    const QString shown = DisplayName(program);
    if (program.isEmpty())
        return NotStarted(shown, Texts::tr("No program to start."));
    const QString executable = Launcher::executableOf(program);
    if (executable.isEmpty()) {
        if (!QFileInfo::exists(program))
            return NotStarted(shown, Texts::tr("%1 was not found at %2.").arg(shown, program));
        return NotStarted(shown, Texts::tr("%1 has no program to run.").arg(shown));
    }
    QStringList arguments;
    if (!file.isNull()) {
        QString argument;
        if (!FileArgument(file, &argument))
            return NotStarted(shown, Texts::tr("%1 cannot be given the file %2.")
                                         .arg(shown, QFile::decodeName(file)));
        arguments << argument;
    }
    return StartDetached(executable, arguments, shown);
}

// "file://" and the path percent-encoded byte by byte: any name becomes a
// valid URI, and no comma is left to split dbus-send's array.
QString FileUri(const QByteArray &path)
{
    return QStringLiteral("file://") + QString::fromLatin1(path.toPercentEncoding("/"));
}

QByteArray FolderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

LaunchResult OpenFolders(const QList<QByteArray> &files)
{
    QSet<QByteArray> opened;
    LaunchResult outcome = Started(QStringLiteral("xdg-open"));
    for (const QByteArray &file : files) {
        const QByteArray folder = FolderOf(file);
        if (opened.contains(folder))
            continue;
        opened.insert(folder);
        const LaunchResult result = Launcher::openFile(folder);
        if (!result.ok() && outcome.ok())
            outcome = result;
    }
    return outcome;
}

} // namespace

QString Launcher::suiteApplication(const QString &appName)
{
    return SuiteFolder() + QLatin1Char('/') + appName;
}

QString Launcher::settingsApplication(const QString &entryName)
{
    const QByteArray settings = wexSettingPath();
    if (settings.isEmpty() || entryName.isEmpty())
        return QString();
    QByteArray resolved;
    if (SFResolveAliasPath(settings + QFile::encodeName(entryName), &resolved) != 0)
        return QString();
    return QFile::decodeName(resolved);
}

QString Launcher::executableOf(const QString &program)
{
    const QFileInfo info(program);
    if (info.isDir()) {
        QString base = info.fileName();
        if (base.endsWith(QLatin1String(".app")))
            base.chop(4);
        if (base.isEmpty())
            return QString();
        for (const QString &candidate : {program + QLatin1Char('/') + base,
                                         program + QLatin1String("/Contents/MacOS/") + base}) {
            const QFileInfo executable(candidate);
            if (executable.isFile() && executable.isExecutable())
                return executable.absoluteFilePath();
        }
        return QString();
    }
    if (info.isFile() && info.isExecutable())
        return info.absoluteFilePath();
    return QString();
}

LaunchResult Launcher::launchApplication(const QString &program)
{
    return StartWithFile(program, QByteArray());
}

LaunchResult Launcher::openFileWithApplication(const QByteArray &file, const QString &program)
{
    // An empty file name would start the program without a file.
    if (file.isEmpty())
        return NotStarted(DisplayName(program), Texts::tr("No file to open."));
    return StartWithFile(program, file);
}

LaunchResult Launcher::openFile(const QByteArray &file)
{
    const QString opener = QStringLiteral("xdg-open");
    const QString executable = QStandardPaths::findExecutable(opener);
    if (executable.isEmpty())
        return NotStarted(opener, Texts::tr("%1 was not found.").arg(opener));
    QString argument;
    if (!FileArgument(file, &argument))
        return NotStarted(opener, Texts::tr("%1 cannot be given the file %2.")
                                      .arg(opener, QFile::decodeName(file)));
    return StartDetached(executable, {argument}, opener);
}

void Launcher::revealFiles(const QList<QByteArray> &files, QObject *context, RevealDone done)
{
    if (!context)
        return;
    const QPointer<QObject> guard(context);
    auto deliver = [guard, done](const LaunchResult &result) {
        if (guard && done)
            done(result);
    };
    if (files.isEmpty()) {
        QMetaObject::invokeMethod(context, [deliver] { deliver(Started(QStringLiteral("dbus-send"))); },
                                  Qt::QueuedConnection);
        return;
    }
    QStringList uris;
    for (const QByteArray &file : files)
        uris << FileUri(file);

    // The process is a child of context: it dies with it, and then nothing is
    // reported. finished and a failed start are both turned into one answer.
    auto *process = new QProcess(context);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto answered = std::make_shared<bool>(false);
    auto answer = [process, files, deliver, answered](bool shown) {
        if (*answered)
            return;
        *answered = true;
        process->deleteLater();
        deliver(shown ? Started(QStringLiteral("dbus-send")) : OpenFolders(files));
    };
    QObject::connect(process, &QProcess::finished, process,
                     [answer](int code, QProcess::ExitStatus status) {
                         answer(status == QProcess::NormalExit && code == 0);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, answer](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            QMetaObject::invokeMethod(process, [answer] { answer(false); }, Qt::QueuedConnection);
    });
    process->start(QStringLiteral("dbus-send"),
                   {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                    QStringLiteral("--reply-timeout=5000"), QStringLiteral("--dest=org.freedesktop.FileManager1"),
                    QStringLiteral("--type=method_call"), QStringLiteral("/org/freedesktop/FileManager1"),
                    QStringLiteral("org.freedesktop.FileManager1.ShowItems"),
                    QStringLiteral("array:string:") + uris.join(QLatin1Char(',')), QStringLiteral("string:")});
}

} // namespace wex
