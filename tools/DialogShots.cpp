// Writes PNG pictures of the dialogs, as they open, for looking at them at any scale.
// Usage: tessimo_dialog_shots DIR [voice]
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <type_traits>

#include "model/NoteNames.h"
#include "model/SettingsRecord.h"
#include "shell/dialogs/CConfigureDialog.h"
#include "shell/dialogs/CProfile.h"

namespace {

// Grabs the dialog once its modal loop runs, then closes it.
template <typename Dialog> bool shoot(Dialog& dialog, const QString& path) {
    bool saved = false;
    QTimer::singleShot(0, &dialog, [&] {
        if constexpr (std::is_same_v<Dialog, tessimo::CConfigureDialog>) {
            // The whole dialog, as on a screen large enough for it.
            dialog.resize(dialog.fittedSize(QSize(100000, 100000)));
            QApplication::processEvents();
        }
        saved = dialog.grab().save(path);
        dialog.reject();
    });
    dialog.exec();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [voice]\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString scale = QString::number(qApp->devicePixelRatio() * 100);
    const bool voice = argc > 2 && QString::fromLatin1(argv[2]) == QLatin1String("voice");

    tessimo::SettingsRecord settings;
    if (voice) {
        settings.soundMode = tessimo::Voice;
        settings.clef = tessimo::Bass;
        settings.namingConvention = tessimo::German;
        settings.errorLimitOn = 1;
    }
    tessimo::CConfigureDialog configure(settings);
    const QString suffix = voice ? QStringLiteral("-voice") : QString();
    const QString configurePath = out.filePath("configure" + suffix + "-" + scale + ".png");
    const bool configureSaved = shoot(configure, configurePath);

    QTemporaryDir users;
    for (const char* name : {"configalto.dat", "configtenor.dat", "configBass.dat"}) {
        std::ofstream(QDir(users.path()).filePath(name).toStdString()) << "x";
    }
    tessimo::CProfile profile(users.path().toStdString());
    profile.setUserName("tenor");
    const QString profilePath = out.filePath("profile-" + scale + ".png");
    const bool profileSaved = shoot(profile, profilePath);

    // The same dialog refusing a name, with its reason under the edit.
    const QString refusedPath = out.filePath("profile-refused-" + scale + ".png");
    bool refusedSaved = false;
    QTimer::singleShot(0, &profile, [&] {
        profile.findChild<QLineEdit*>(QString::number(tessimo::CProfile::NameEdit))
            ->setText(QStringLiteral("../alto"));
        profile.accept();
        refusedSaved = profile.grab().save(refusedPath);
        profile.reject();
    });
    profile.exec();

    std::printf("%s\n%s\n%s\n", qPrintable(configurePath), qPrintable(profilePath),
                qPrintable(refusedPath));
    return configureSaved && profileSaved && refusedSaved ? 0 : 1;
}
