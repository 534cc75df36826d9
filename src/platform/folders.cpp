#include "platform/folders.h"

#include "app/core/language_choice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace vexmo {

namespace {

std::u16string WithSlash(QString path)
{
    if (!path.endsWith(u'/'))
        path += u'/';
    return path.toStdU16String();
}

} // namespace

std::u16string FindModuleFolder()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    // In the build tree the generated skins and the data files sit beside the executable.
    if (QFileInfo(exeDir + "/skins").isDir() || QFileInfo(exeDir + "/config").isDir())
        return WithSlash(exeDir);
    const QString shared = QDir::cleanPath(exeDir + "/../share/vexmo");
    if (QFileInfo(shared).isDir())
        return WithSlash(shared);
    return WithSlash(exeDir);
}

std::u16string PrepareDataFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + "/.config";
    const QString data = base + "/QuorvaneData20230718A";
    QDir().mkpath(data);
    QDir().mkpath(data + "/config");
    return WithSlash(data);
}

void InstallMissingDataFiles(const std::u16string& moduleFolder, const std::u16string& dataFolder)
{
    const QDir from(QString::fromStdU16String(moduleFolder) + "config");
    const QString to = QString::fromStdU16String(dataFolder) + "config/";
    // The language follows the desktop's locale on the first run, before the shipped choice file
    // (English) could be copied.
    const QByteArray lcAll = qgetenv("LC_ALL"), lcMessages = qgetenv("LC_MESSAGES"), lang = qgetenv("LANG");
    WriteLanguageChoiceIfMissing(dataFolder, MessagesLocale(lcAll.toStdString(), lcMessages.toStdString(), lang.toStdString()));
    if (!from.exists())
        return;
    for (const QString& name : from.entryList(QDir::Files)) {
        if (QFileInfo::exists(to + name))
            continue;
        // Copy through a temporary name so an interrupted copy never leaves half a file.
        const QString tmp = to + "." + name + ".part";
        QFile::remove(tmp);
        if (QFile::copy(from.filePath(name), tmp)) {
            QFile(tmp).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
            if (!QFile::rename(tmp, to + name))
                QFile::remove(tmp);
        }
    }
}

} // namespace vexmo
