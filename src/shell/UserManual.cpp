#include "shell/UserManual.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace tessimo {

QString manualFileName(ManualLanguage language) {
    return language == ManualLanguage::French ? QStringLiteral("tessimo-fr.html")
                                              : QStringLiteral("tessimo-en.html");
}

QStringList manualSearchDirs() {
    const QString binDir = QCoreApplication::applicationDirPath();
    QStringList dirs;
    dirs << QDir(binDir).filePath(QStringLiteral("manual"));
    dirs << QDir::cleanPath(binDir + QStringLiteral("/../share/tessimo/manual"));
#ifdef TESSIMO_INSTALL_MANUAL_DIR
    const QString installed = QStringLiteral(TESSIMO_INSTALL_MANUAL_DIR);
    if (!dirs.contains(installed)) {
        dirs << installed;
    }
#endif
    return dirs;
}

QString findManual(ManualLanguage language, const QStringList& dirs) {
    const QString name = manualFileName(language);
    for (const QString& dir : dirs) {
        const QFileInfo file(QDir(dir).filePath(name));
        if (file.isFile() && file.isReadable()) {
            return file.absoluteFilePath();
        }
    }
    return {};
}

QString openManual(ManualLanguage language) {
    const QString path = findManual(language, manualSearchDirs());
    if (path.isEmpty()) {
        return QCoreApplication::translate("tessimo::UserManual",
                                           "The user manual %1 is not installed.")
            .arg(manualFileName(language));
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        return QCoreApplication::translate(
                   "tessimo::UserManual",
                   "No web browser could be started to show the manual; open %1 by hand.")
            .arg(path);
    }
    return {};
}

} // namespace tessimo
