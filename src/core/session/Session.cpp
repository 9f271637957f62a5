#include "core/session/Session.h"

#include "core/iptc/IptcField.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolder.h"

namespace zelvarion {

Session::Session() : ini(programFolder::configFilePath())
{
    language.loadShippedEnglish();
}

void Session::loadSettings()
{
    settings = readAllSettings(ini);
    // Every catalogue path reaches its file through these from here on.
    filenames::setPathMappings(settings.pathMappings);
}

bool Session::loadSettingsAndLanguage(const QString &languageFolder)
{
    loadSettings();
    return language.load(languageFolder, settings.language);
}

void Session::rememberCatalogue(const QString &path)
{
    setSetting(&AppSettings::lastDB, path);
}

QString Session::cataloguePath(const QString &given) const
{
    if (!given.isEmpty())
        return given;
    if (settings.lastDB && !settings.lastDB->isEmpty())
        return *settings.lastDB;
    return programFolder::defaultCataloguePath();
}

QString Session::missingCatalogueText(const QString &path) const
{
    return language.message(Message::CatalogueNotFound) + u'\n' + path + QStringLiteral("\n\n")
           + language.message(Message::CatalogueNotFoundHint);
}

QString Session::customizedLabel() const
{
    const QString label = language.text(InterfaceText::CustomizedFieldLabel);
    return label.isEmpty() ? defaultCustomizedLabel() : label;
}

} // namespace zelvarion
