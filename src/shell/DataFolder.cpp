#include "shell/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tessimo {

StartArguments parseStartArguments(const QStringList& arguments) {
    StartArguments result;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String(DataFolderOption)) {
            result.dataFolder = true;
        } else {
            result.rest << argument;
        }
    }
    return result;
}

QString userDataFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("tessimo"));
}

QString enterDataFolder(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!QDir().mkpath(path)) {
            return QStringLiteral("The folder %1 for your files cannot be created.").arg(path);
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else if (!info.isDir()) {
        return QStringLiteral("%1 is not a folder, so your files cannot be kept there.").arg(path);
    }
    if (!QDir::setCurrent(path)) {
        return QStringLiteral("The folder %1 for your files cannot be opened.").arg(path);
    }
    return {};
}

} // namespace tessimo
