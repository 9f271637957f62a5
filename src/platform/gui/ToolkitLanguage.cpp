#include "platform/gui/ToolkitLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace zelvarion {
namespace {

// The one translator of the toolkit's texts, replaced at each change of language.
std::unique_ptr<QTranslator> &installedTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

void useToolkitLanguage(const QLocale &locale)
{
    QLocale::setDefault(locale);
    std::unique_ptr<QTranslator> &current = installedTranslator();
    if (current) {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return;
    auto translator = std::make_unique<QTranslator>();
    // "qtbase_fr.qm" of the system's translations; "qt_fr" gathers it with the other modules.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)
        || translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"), folder)) {
        QCoreApplication::installTranslator(translator.get());
        current = std::move(translator);
    }
}

} // namespace zelvarion
