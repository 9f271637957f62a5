#pragma once

#include "cli/CliContext.h"
#include "core/catalogue/CatalogueCommand.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/search/ResultList.h"
#include "core/shell/AppSettings.h"
#include "core/shell/Feedback.h"
#include "core/shell/LanguagePack.h"

#include <QJsonValue>

namespace zelvarion::cli {

// The core's messages go to the error stream; a warning or a critical one makes the command
// fail. Questions are asked on a terminal, answered Yes for all with --yes, and No where no one
// can answer (standard input is not a terminal).
class CliFeedback : public Feedback
{
public:
    CliFeedback(QTextStream &err, bool assumeYes) : m_err(err), m_assumeYes(assumeYes) {}
    void showMessage(const QString &text, MessageIcon icon, const QString &title = {}) override;
    bool askYesNo(const QString &text, MessageIcon icon = MessageIcon::Question) override;
    bool failed() const { return m_failed; }

private:
    QTextStream &m_err;
    bool m_assumeYes;
    bool m_failed = false;
};

// What a command on the catalogue starts from: the settings of Zelvarion.ini, the language in
// use, and the catalogue of --catalogue, else the remembered one, else the default.
struct CommandCatalogue
{
    AppSettings settings;
    LanguagePack language;
    CatalogueDb db;

    CatalogueCommand command(Feedback &feedback) { return {db, feedback, language}; }
};

// Takes --catalogue from the arguments and fills `prepared`; false (told) when the catalogue
// file does not exist, which opening would create.
bool prepareCatalogue(CliContext &context, const char *command, CommandCatalogue &prepared);

// True (told, exit 2 is due) when an argument left is an option the command does not know.
bool refuseUnknownOptions(CliContext &context, const char *command);

void printJson(QTextStream &out, const QJsonValue &value);

// Images one a line as folder, file and mark between tabs, or a JSON array of objects with
// "folder", "file" and "mark".
void printRows(QTextStream &out, const std::vector<ResultRow> &rows, bool json);

} // namespace zelvarion::cli
