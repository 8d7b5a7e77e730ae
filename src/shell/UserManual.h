// Finding and opening the user manuals shipped with the program (HTML, English and French).
// User-interface thread only.
#pragma once

#include <QString>
#include <QStringList>

namespace tessimo {

enum class ManualLanguage { English, French };

// The file name of a manual, e.g. "tessimo-en.html".
QString manualFileName(ManualLanguage language);

// The folders searched for the manuals, in order: "manual" next to the binary (the build
// tree), then the data folder of the install prefix, found from the binary's place and from
// the prefix the program was built for.
QStringList manualSearchDirs();

// The first existing manual of that language in dirs, or an empty string.
QString findManual(ManualLanguage language, const QStringList& dirs);

// Opens the manual in the desktop's browser. Returns an empty string when it was handed over,
// else a message for the status bar saying what went wrong.
QString openManual(ManualLanguage language);

} // namespace tessimo
