#include "ui/AppContext.h"

#include "core/catalogue/CatalogueSchema.h"
#include "platform/HunspellSpeller.h"
#include "platform/ProgramFolder.h"

namespace zelvarion {

AppContext::AppContext()
    : ini(programFolder::configFilePath()), translationsPath(programFolder::translationsFilePath())
{
    language.loadShippedEnglish();
    spelling.setOpener([this] {
        DictionaryChoice choice;
        choice.languagePack = settings.language;
        choice.name = settings.spellingDictionary;
        return openHunspellSpeller(choice);
    });
}

void AppContext::rememberCatalogue(const QString &path)
{
    setSetting(&AppSettings::lastDB, path);
}

bool AppContext::createSchema(Feedback &feedback)
{
    SchemaHooks hooks;
    hooks.loadTranslations = [this, &feedback](CatalogueDb &) { loadTranslations(feedback); };
    hooks.rememberCatalogue = [this](const QString &path) { rememberCatalogue(path); };
    return createCatalogueSchema(catalogue, feedback, hooks);
}

QString AppContext::missingCatalogueText(const QString &path) const
{
    return language.message(Message::CatalogueNotFound) + u'\n' + path + QStringLiteral("\n\n")
           + language.message(Message::CatalogueNotFoundHint);
}

void AppContext::loadTranslations(Feedback &feedback)
{
    translations = zelvarion::loadTranslations(catalogue, feedback, translationsPath);
}

} // namespace zelvarion
