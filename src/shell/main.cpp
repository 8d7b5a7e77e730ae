// Entry point: the Qt application, the folder for the users' files, then the program's
// application object.
#include "shell/CBrindelApp.h"
#include "shell/CBrindelViewWidget.h"
#include "shell/DataFolder.h"
#include "shell/Translation.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessimo"));
    QApplication::setApplicationVersion(QStringLiteral(TESSIMO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tessimo"));
    // The desktop's language, when the program speaks it.
    const auto translators = tessimo::translatorsFor(QLocale());
    for (const auto& translator : translators) {
        QApplication::installTranslator(translator.get());
    }

    const tessimo::StartArguments arguments =
        tessimo::parseStartArguments(QApplication::arguments().mid(1));
    if (arguments.dataFolder) {
        const QString problem = tessimo::enterDataFolder(tessimo::userDataFolder());
        if (!problem.isEmpty()) {
            QMessageBox::warning(nullptr, QStringLiteral("Tessimo"),
                                 QStringLiteral("%1\nThis time they are kept in %2.")
                                     .arg(problem, QDir::currentPath()));
        }
    }

    tessimo::CBrindelApp app([] { return new tessimo::CBrindelViewWidget(); });
    if (!app.initInstance(arguments.rest)) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessimo"), app.errorText());
        return 1;
    }
    return QApplication::exec();
}
