// The interface's language: English as written in the sources, French from the translation
// compiled into the program, chosen by the desktop's language. User-interface thread, at
// start-up.
#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

namespace tessimo {

// The translators for a locale, to install on the application (the program's own, and Qt's
// for its standard buttons when Debian's translations of Qt are installed); empty for English
// and every language the program has no translation for.
std::vector<std::unique_ptr<QTranslator>> translatorsFor(const QLocale& locale);

} // namespace tessimo
