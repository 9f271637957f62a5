// zelvarion-cli export, stats and empty-words: the XML export with its rendering, the word
// statistics and the empty words list, on the result of the search arguments as the windows do.
#include "cli/Commands.h"
#include "core/export/EmptyWords.h"
#include "core/export/ExportSettings.h"
#include "core/export/WordAnalysis.h"
#include "core/export/XmlExport.h"
#include "core/export/XslRendering.h"
#include "core/shell/Feedback.h"
#include "core/shell/TextRules.h"
#include "core/spelling/Speller.h"
#include "platform/HunspellSpeller.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"
#include "platform/XsltEngine.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

// Messages go to the error stream; any message box of the windows means something failed.
class CommandFeedback : public Feedback
{
public:
    explicit CommandFeedback(QTextStream &err) : m_err(err) {}
    void showMessage(const QString &text, MessageIcon icon, const QString & = {}) override
    {
        m_err << text << '\n';
        m_failed = m_failed || icon != MessageIcon::Information;
    }
    bool askYesNo(const QString &, MessageIcon) override { return false; }
    bool failed() const { return m_failed; }

private:
    QTextStream &m_err;
    bool m_failed = false;
};

bool emptyResult(const QString &command, const CommandSearch &search, CliContext &context)
{
    if (search.results.count() > 0)
        return false;
    context.err << "zelvarion-cli " << command << ": " << search.pack.text(InterfaceText::EmptyResultWarning) << '\n';
    return true;
}

// Renders the export with the named stylesheet; the path of the file made, empty on failure.
QString render(const ExportFolder &folder, const QString &stylesheet, const LanguagePack &pack, CommandFeedback &feedback)
{
    QString made;
    DisplayEnvironment environment{feedback, pack};
    environment.makeProcessor = [&] { return makeXsltProcessor(folder.path); };
    environment.openWithDefaultProgram = [&](const QString &path) { made = path; };
    environment.showStatus = [](const QString &) {};
    environment.rememberStylesheet = [](const QString &) {};
    const DisplayOutcome outcome = displayXml(folder, stylesheet, environment);
    return outcome.kind == DisplayOutcome::Kind::Rendered && QFileInfo::exists(made) ? made : QString();
}

} // namespace

int runExportCommand(CliContext &context)
{
    const std::optional<QString> title = takeOption(context.arguments, QStringLiteral("--title"));
    const bool noThumbnails = takeFlag(context.arguments, QStringLiteral("--no-thumbnails"));
    const std::optional<QString> stylesheet = takeOption(context.arguments, QStringLiteral("--xsl"));
    const ExportFolder folder = ExportFolder::inProgramFolder();
    if (stylesheet && !QFileInfo(folder.path + u'/' + *stylesheet).isFile()) {
        context.err << "zelvarion-cli export: no stylesheet " << *stylesheet << " in " << folder.path << '\n';
        return 2;
    }
    CommandSearch search;
    if (const std::optional<int> failed = searchForCommand(QStringLiteral("export"), context.arguments, context, search))
        return *failed;
    if (emptyResult(QStringLiteral("export"), search, context))
        return 1;
    CommandFeedback feedback(context.err);
    XmlExportRequest request;
    request.folder = folder;
    request.title = title.value_or(readExportSettings(IniFile(programFolder::configFilePath())).xmlTitle);
    request.copyThumbnails = !noThumbnails;
    const XmlExportOutcome outcome = exportXml(request, search.results, search.db, feedback, ThumbnailStore());
    if (!outcome.written)
        return 1;
    if (!stylesheet) {
        context.out << folder.documentPath() << '\n';
        return feedback.failed() ? 1 : 0;
    }
    const QString made = render(folder, *stylesheet, search.pack, feedback);
    if (made.isEmpty())
        return 1;
    context.out << made << '\n';
    return feedback.failed() ? 1 : 0;
}

namespace {

std::unique_ptr<Speller> openSpeller(const AppSettings &settings)
{
    DictionaryChoice choice;
    choice.languagePack = settings.language;
    choice.name = readExportSettings(IniFile(programFolder::configFilePath())).dictionary;
    return openHunspellSpeller(choice);
}

void printWords(const std::vector<WordCount> &words, bool json, QTextStream &out)
{
    if (!json) {
        for (const WordCount &word : words)
            out << word.count << '\t' << word.word << '\n';
        return;
    }
    QJsonArray array;
    for (const WordCount &word : words)
        array.append(QJsonObject{{QStringLiteral("word"), word.word}, {QStringLiteral("count"), qint64(word.count)}});
    out << QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace

int runStatsCommand(CliContext &context)
{
    const bool keywordsOnly = takeFlag(context.arguments, QStringLiteral("--keywords-only"));
    const bool ignoreEmptyWords = takeFlag(context.arguments, QStringLiteral("--ignore-empty-words"));
    const bool unknownOnly = takeFlag(context.arguments, QStringLiteral("--unknown"));
    const bool json = takeFlag(context.arguments, QStringLiteral("--json"));
    CommandSearch search;
    if (const std::optional<int> failed = searchForCommand(QStringLiteral("stats"), context.arguments, context, search))
        return *failed;
    if (emptyResult(QStringLiteral("stats"), search, context))
        return 1;
    std::unique_ptr<Speller> speller;
    if (unknownOnly && !(speller = openSpeller(search.settings))) {
        context.err << "zelvarion-cli stats: " << search.pack.message(Message::SpellerUnavailable) << '\n';
        return 1;
    }
    CommandFeedback feedback(context.err);
    const EmptyWordTable emptyWords(readEmptyWords(IniFile(programFolder::configFilePath())));
    WordAnalysisRequest request;
    request.allFields = !keywordsOnly;
    request.ignored = ignoreEmptyWords ? &emptyWords : nullptr;
    WordAnalysisOutcome outcome = analyseWords(request, search.results, search.db, feedback, search.pack);
    if (!outcome.opened)
        return 1;
    // The window's first order: by count, the most frequent first.
    sortWords(outcome.words, WordSortKey::Count, false, WordOrder());
    if (speller)
        std::erase_if(outcome.words, [&](const WordCount &word) { return speller->isCorrect(word.word); });
    printWords(outcome.words, json, context.out);
    return feedback.failed() ? 1 : 0;
}

int runEmptyWordsCommand(CliContext &context)
{
    const bool json = takeFlag(context.arguments, QStringLiteral("--json"));
    const QStringList &arguments = context.arguments;
    const QString action = arguments.value(0);
    const bool needsWord = action == u"add" || action == u"remove";
    if (!(action == u"list" && arguments.size() == 1) && !(needsWord && arguments.size() == 2)) {
        context.err << "zelvarion-cli empty-words: list, add WORD or remove WORD\n";
        return 2;
    }
    const IniFile ini(programFolder::configFilePath());
    LanguagePack pack;
    pack.load(programFolder::languageFolder(), readAllSettings(ini).language);
    EmptyWordsList list(readEmptyWords(ini));
    if (action == u"list") {
        if (json)
            context.out << QJsonDocument(QJsonArray::fromStringList(readEmptyWords(ini))).toJson(QJsonDocument::Indented);
        else
            for (const QString &word : readEmptyWords(ini))
                context.out << word << '\n';
        return 0;
    }
    const QString word = trimBlanks(arguments[1]);
    if (action == u"add") {
        if (word.isEmpty() || list.add(word) != EmptyWordsList::Refusal::None) {
            context.err << "zelvarion-cli empty-words: " << (word.isEmpty() ? QStringLiteral("the word is empty")
                                                                           : pack.message(Message::AlreadyInList))
                        << '\n';
            return 1;
        }
    } else {
        const qsizetype at = list.words().indexOf(word);
        const qsizetype found = at >= 0 ? at : [&] {
            for (qsizetype i = 0; i < list.words().size(); ++i)
                if (list.words()[i].compare(word, Qt::CaseInsensitive) == 0)
                    return i;
            return qsizetype(-1);
        }();
        if (found < 0) {
            context.err << "zelvarion-cli empty-words: not in the list: " << word << '\n';
            return 1;
        }
        list.remove(int(found));
    }
    writeEmptyWords(ini, list.words());
    return 0;
}

} // namespace zelvarion::cli
