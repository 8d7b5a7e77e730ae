// Entry point: the Qt application, then the program's application object.
#include "shell/CBrindelApp.h"
#include "shell/CBrindelViewWidget.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessimo"));
    QApplication::setDesktopFileName(QStringLiteral("tessimo"));

    tessimo::CBrindelApp app([] { return new tessimo::CBrindelViewWidget(); });
    if (!app.initInstance(QApplication::arguments().mid(1))) {
        // The text names the file given on the command line: shown as typed, never as markup.
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tessimo"), app.errorText(),
                        QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return 1;
    }
    return QApplication::exec();
}
