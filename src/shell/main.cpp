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
        QMessageBox::critical(nullptr, QStringLiteral("Tessimo"), app.errorText());
        return 1;
    }
    return QApplication::exec();
}
