// zelvarion-cli stats: the word statistics of the result of the search arguments, in the
// statistics window's first order.
#include "cli/Commands.h"
#include "core/words/EmptyWords.h"
#include "core/words/WordAnalysis.h"
#include "core/spelling/Speller.h"
#include "platform/HunspellSpeller.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

std::unique_ptr<Speller> openSpeller(const AppSettings &settings)
{
    DictionaryChoice choice;
    choice.languagePack = settings.language;
    choice.name = settings.spellingDictionary;
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

const CommandSyntax kStatsSyntax{
    "stats", "[TEXT]", "Counts the words of the IPTC texts of the images found.",
    withSearchOptions({{"--keywords-only", nullptr, "counts the keywords only (default: every field)"},
                       {"--ignore-empty-words", nullptr, "leaves out the words of the empty words list"},
                       {"--unknown", nullptr, "keeps only the words the dictionary does not know"},
                       {"--json", nullptr, "prints the words and counts as JSON"}}),
    "Searches as zelvarion-cli search does and prints each word with its count, the most frequent first."};

int runStatsCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kStatsSyntax, context, arguments))
        return *exit;
    CommandSearch search;
    if (const std::optional<int> failed = searchForCommand("stats", arguments, context, search))
        return *failed;
    std::unique_ptr<Speller> speller;
    if (arguments.flag("--unknown") && !(speller = openSpeller(search.settings))) {
        context.err << "zelvarion-cli stats: " << search.language.message(Message::SpellerUnavailable) << '\n';
        return kExitSomeFailed;
    }
    StreamFeedback feedback(context);
    const EmptyWordTable emptyWords(readEmptyWords(search.ini));
    WordAnalysisRequest request;
    request.allFields = !arguments.flag("--keywords-only");
    request.ignored = arguments.flag("--ignore-empty-words") ? &emptyWords : nullptr;
    WordAnalysisOutcome outcome = analyseWords(request, search.results, search.catalogue, feedback, search.language);
    if (!outcome.opened)
        return kExitSomeFailed;
    sortWords(outcome.words, WordSortKey::Count, false, WordOrder());
    if (speller)
        std::erase_if(outcome.words, [&](const WordCount &word) { return speller->isCorrect(word.word); });
    printWords(outcome.words, arguments.flag("--json"), context.out);
    return feedback.failed() ? kExitSomeFailed : kExitOk;
}

} // namespace zelvarion::cli
