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
            // The text names folders: shown as they are, never as markup.
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Tessimo"),
                            QStringLiteral("%1\nThis time they are kept in %2.")
                                .arg(problem, QDir::currentPath()),
                            QMessageBox::Ok);
            box.setTextFormat(Qt::PlainText);
            box.exec();
        }
    }

    tessimo::CBrindelApp app([] { return new tessimo::CBrindelViewWidget(); });
    if (!app.initInstance(arguments.rest)) {
        // The text names the file given on the command line: shown as typed, never as markup.
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tessimo"), app.errorText(),
                        QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return 1;
    }
    return QApplication::exec();
}
