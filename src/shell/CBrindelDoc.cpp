#include "shell/CBrindelDoc.h"

#include <QFile>

#include "files/SafeFileOpen.h"

namespace tessimo {

bool CBrindelDoc::onNewDocument() {
    m_error.clear();
    return true;
}

bool CBrindelDoc::onOpenDocument(const QString& path) {
    // Only a regular file opens; a named pipe or device given as the document would otherwise
    // hold start-up until something writes to it.
    const ReadOpenResult file =
        openRegularFileForReading(QFile::encodeName(path).toStdString(), Links::Follow);
    if (!file.opened()) {
        const QString reason = QString::fromStdString(describeReadFailure(file.kind, file.error));
        m_error = QStringLiteral("Cannot open the file %1: it %2.").arg(path, reason);
        return false;
    }
    m_error.clear();
    return true;
}

} // namespace tessimo
