#include "ui/AppContext.h"

#include "core/catalogue/CatalogueSchema.h"
#include "platform/HunspellSpeller.h"
#include "platform/ProgramFolder.h"

namespace zelvarion {

AppContext::AppContext() : translationsPath(programFolder::translationsFilePath())
{
    spelling.setOpener([this] {
        DictionaryChoice choice;
        choice.languagePack = settings.language;
        choice.name = settings.spellingDictionary;
        return openHunspellSpeller(choice);
    });
}

bool AppContext::createSchema(Feedback &feedback)
{
    SchemaHooks hooks;
    hooks.loadTranslations = [this, &feedback](CatalogueDb &) { loadTranslations(feedback); };
    hooks.rememberCatalogue = [this](const QString &path) { rememberCatalogue(path); };
    return createCatalogueSchema(catalogue, feedback, hooks);
}

void AppContext::loadTranslations(Feedback &feedback)
{
    translations = zelvarion::loadTranslations(catalogue, feedback, translationsPath);
}

} // namespace zelvarion
