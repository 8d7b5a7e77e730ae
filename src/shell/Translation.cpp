#include "shell/Translation.h"

#include <QLibraryInfo>

namespace tessimo {

std::vector<std::unique_ptr<QTranslator>> translatorsFor(const QLocale& locale) {
    std::vector<std::unique_ptr<QTranslator>> translators;
    auto own = std::make_unique<QTranslator>();
    if (!own->load(locale, QStringLiteral("tessimo"), QStringLiteral("_"),
                   QStringLiteral(":/i18n"))) {
        return translators;
    }
    translators.push_back(std::move(own));
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        translators.push_back(std::move(qt));
    }
    return translators;
}

} // namespace tessimo
