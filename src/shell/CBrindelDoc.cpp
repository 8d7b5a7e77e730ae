#include "shell/CBrindelDoc.h"

#include <QFile>

namespace tessimo {

bool CBrindelDoc::onNewDocument() {
    m_error.clear();
    return true;
}

bool CBrindelDoc::onOpenDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Cannot open the file %1: %2.").arg(path, file.errorString());
        return false;
    }
    m_error.clear();
    return true;
}

} // namespace tessimo
