// The document of the single-document window. It holds no data and reads or writes no file;
// opening a file only checks that it can be read. User-interface thread only.
#pragma once

#include <QObject>
#include <QString>

namespace tessimo {

class CBrindelDoc : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A new, empty document. Always succeeds.
    bool onNewDocument();

    // Opens the file named on the command line. Nothing is read from it; returns false with
    // errorText() set when it cannot be opened.
    bool onOpenDocument(const QString& path);

    QString errorText() const { return m_error; }

private:
    QString m_error;
};

} // namespace tessimo
