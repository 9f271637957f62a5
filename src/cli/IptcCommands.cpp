#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/CodeOptions.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcValueCheck.h"
#include "core/iptc/IptcWriter.h"
#include "core/session/AppSettings.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/EditImageIptc.h"
#include "core/captioning/ProcessIptc.h"
#include "core/captioning/TemplateEdits.h"
#include "core/captioning/TemplateVariables.h"
#include "core/captioning/TemplateThumbnails.h"
#include "core/captioning/UndoJournal.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <memory>

namespace zelvarion::cli {
namespace {

QJsonObject readResultToJson(const QString &path, const IptcReadResult &result, const LanguagePack *language)
{
    QJsonObject fields;
    for (const IptcField &field : kIptcFields)
        fields.insert(QLatin1String(field.column), result.fields.values[std::size_t(field.index)]);
    QJsonArray customized;
    for (const CustomizedDataset &slot : result.fields.slots)
        if (slot.number != -1)
            customized.append(QJsonObject{{QStringLiteral("dataset"), slot.number}, {QStringLiteral("value"), slot.value}});
    return QJsonObject{{QStringLiteral("path"), path},
                       {QStringLiteral("fileKind"), supportIptcCode(result.fileKind)},
                       {QStringLiteral("fields"), fields},
                       {QStringLiteral("customized"), customized},
                       {QStringLiteral("damage"), damageText(result.damage, language)}};
}

void printReadResult(QTextStream &out, const QString &path, const IptcReadResult &result)
{
    out << path << '\n' << "  SupportIPTC: " << supportIptcCode(result.fileKind) << '\n';
    for (const IptcField &field : kIptcFields) {
        QString value = result.fields.values[std::size_t(field.index)];
        if (value.isEmpty())
            continue;
        if (field.index == kCustomizedIndex)
            value = value.trimmed().replace(QStringLiteral("\r\n"), QStringLiteral("\n    "));
        out << "  " << field.column << ": " << value << '\n';
    }
    for (int i = 0; i < kCustomizedSlotCount; ++i) {
        const CustomizedDataset &slot = result.fields.slots[std::size_t(i)];
        if (slot.number != -1)
            out << "  slot " << i << ": 2:" << slot.number << " = " << slot.value << '\n';
    }
}

// The changes a write applies to every file: catalogue fields by index, customized numbers.
struct WriteEdits
{
    std::vector<std::pair<int, QString>> fields;
    std::vector<std::pair<int, QString>> customized;
};

bool takeFieldEdits(const ParsedArguments &arguments, WriteEdits &edits, QString &problem, const LanguagePack &pack)
{
    for (const QString &option : arguments.values("--set")) {
        const qsizetype equals = option.indexOf(u'=');
        const auto index = iptcFieldIndexOfColumn(QStringView(option).left(equals));
        if (equals < 0 || !index) {
            problem = filled(textOf(pack, texts::kWriteSet), {{u'#', option}});
            return false;
        }
        if (*index == kCustomizedIndex) {
            problem = textOf(pack, texts::kWriteCustomizedText);
            return false;
        }
        edits.fields.emplace_back(*index, option.mid(equals + 1));
    }
    return true;
}

bool takeCustomizedEdits(const ParsedArguments &arguments, WriteEdits &edits, QString &problem, const LanguagePack &pack)
{
    for (const QString &option : arguments.values("--customized")) {
        const qsizetype equals = option.indexOf(u'=');
        bool numeric = false;
        const int number = option.left(equals).toInt(&numeric);
        if (equals < 0 || !numeric || number < 1 || number > 254
            || lookupDataset(number).kind != DatasetLookup::Kind::Customized) {
            problem = filled(textOf(pack, editRefusals::kCustomizedNumber), {{u'#', option}});
            return false;
        }
        edits.customized.emplace_back(number, option.mid(equals + 1));
    }
    return true;
}

// Sets, replaces or (with an empty value) clears the customized dataset of a number: in its slot,
// among those past the slots, or in the first free slot; past the slots when none is free.
void applyCustomized(WorkingValues &values, int number, const QString &value)
{
    const CustomizedDataset set = value.isEmpty() ? CustomizedDataset{} : CustomizedDataset{std::int16_t(number), value};
    for (CustomizedDataset &slot : values.fields.slots)
        if (slot.number == number) {
            slot = set;
            return;
        }
    for (CustomizedDataset &more : values.moreCustomized)
        if (more.number == number) {
            more = set;
            return;
        }
    if (value.isEmpty())
        return;
    for (CustomizedDataset &slot : values.fields.slots)
        if (slot.number == -1) {
            slot = set;
            return;
        }
    values.moreCustomized.push_back(set);
}

void applyEdits(WorkingValues &values, const WriteEdits &edits)
{
    for (const auto &[index, value] : edits.fields) {
        if (index == kKeywordsIndex || index == kSupplementalCategoryIndex) {
            QStringList &list = index == kKeywordsIndex ? values.keywords : values.supplementalCategories;
            list = splitList(value);
            values.fields.values[std::size_t(index)] = list.join(QStringLiteral("; "));
        } else {
            values.fields.values[std::size_t(index)] = value;
        }
    }
    for (const auto &[number, value] : edits.customized)
        applyCustomized(values, number, value);
}

// The values given, held to what template set holds a template to: their stored forms, and their
// limits counted in the bytes they take (the dialog's too with ControlLengthFields). A file's own
// values may still turn the charset to UTF-8; its write then refuses what no longer fits.
std::optional<QString> formProblem(const WriteEdits &edits, const LanguagePack &pack)
{
    for (const auto &[index, value] : edits.fields)
        if (const std::optional<QString> problem = valueFormProblem(index, value, &pack))
            return problem;
    return std::nullopt;
}

std::optional<QString> limitProblem(const WriteEdits &edits, const AppSettings &settings, const LanguagePack &pack)
{
    WorkingValues given;
    applyEdits(given, edits);
    const ValueLimits limits = settings.controlLengthFields ? ValueLimits::DialogAndWrite : ValueLimits::Write;
    const ValuesToWrite toWrite{given.fields, given.keywords, given.supplementalCategories, given.moreCustomized};
    if (const std::optional<ValueOverLimit> over = firstValueOverLimit(toWrite, limits))
        return overLimitProblem(*over, {settings.controlLengthFields, pack.message(Message::ValueTooManyBytes)});
    return std::nullopt;
}

// The values given, parsed once for their variables and expanded for each file.
class EditTexts
{
public:
    // The first value whose variables cannot be expanded, named as its option names it.
    std::optional<QString> parse(const WriteEdits &edits, const LanguagePack &pack)
    {
        m_edits = edits;
        for (const auto &[index, value] : edits.fields)
            if (!take(value, QLatin1String(iptcField(index).column), pack))
                return m_problem;
        for (const auto &[number, value] : edits.customized)
            if (!take(value, QStringLiteral("--customized %1").arg(number), pack))
                return m_problem;
        return std::nullopt;
    }
    bool hasVariables() const { return m_variables; }
    // What every file gets whatever its facts: the limits are checked on it before any file.
    WriteEdits fixed() const { return with([](const CaptionText &text) { return text.fixedText(); }); }
    WriteEdits expanded(const CaptionFacts &facts) const
    {
        return with([&facts](const CaptionText &text) { return text.expand(facts); });
    }

private:
    bool take(const QString &value, const QString &place, const LanguagePack &pack)
    {
        ParsedCaption parsed = parseCaptionText(value);
        if (parsed.problem) {
            m_problem = place + QStringLiteral(": ") + variableProblemText(*parsed.problem, &pack);
            return false;
        }
        m_variables = m_variables || parsed.text.hasVariables() || parsed.text.expand({}) != value;
        m_texts.push_back(std::move(parsed.text));
        return true;
    }
    template <typename Text>
    WriteEdits with(Text text) const
    {
        WriteEdits edits = m_edits;
        std::size_t next = 0;
        for (auto &[index, value] : edits.fields)
            value = text(m_texts[next++]);
        for (auto &[number, value] : edits.customized)
            value = text(m_texts[next++]);
        return edits;
    }

    WriteEdits m_edits;
    std::vector<CaptionText> m_texts; // the fields', then the customized values'
    bool m_variables = false;
    QString m_problem;
};

// The image a path names, folder and file spelt as a scan stores them.
std::pair<QString, QString> folderAndFile(const QString &path)
{
    const QString absolute = filenames::absolutePath(path);
    const qsizetype slash = absolute.lastIndexOf(u'/');
    return {absolute.left(slash + 1), absolute.mid(slash + 1)};
}

// One write over its files: each file rewritten, the row of a catalogued image brought in step as
// the edit dialog's save does (values read back from the file, revision date, thumbnail), and each
// rewrite recorded in the undo journal beside the catalogue.
class WriteRun
{
public:
    WriteRun(CliContext &context, Session &session)
        : m_context(context), m_settings(session.settings), m_pack(session.language), m_db(session.catalogue),
          m_feedback(context),
          m_renewer(m_store), m_label(session.customizedLabel()), m_options(iptcWriteOptionsFrom(session.settings))
    {
        m_options.language = &m_pack;
    }

    // Without a catalogue nothing is recorded; with one, a journal that cannot be used stops the run.
    bool start(const QString &description)
    {
        if (!catalogueExists(m_db.path))
            return true;
        m_journal = std::make_unique<UndoJournal>(UndoJournal::pathBeside(m_db.path));
        if (!m_journal->startRun(description, QStringLiteral("write"))) {
            m_context.err << "zelvarion-cli write: " << withSubject(m_pack, Message::CliJournalUnusable, m_journal->path())
                          << ": " << m_journal->errorText() << '\n';
            return false;
        }
        m_options.recorder = m_journal.get();
        return true;
    }

    // The reason the file was not written; empty when it was. `sequence` is the file's rank, for {Seq}.
    QString write(const QString &path, const EditTexts &edits, int sequence)
    {
        if (!filenames::fileFacts(path).isFile)
            return m_pack.message(Message::CliFileMissing);
        const auto [folder, file] = folderAndFile(path);
        const std::optional<std::pair<QString, QString>> revision = catalogueRevision(folder, file);
        const CheckedValuesChange change = [&](WorkingValues &values, const FileBeingChanged &being) {
            const IptcFieldSet before = values.fields;
            const WriteEdits expanded =
                edits.expanded(captionFactsOf(being, before, sequence, m_started, QLocale()));
            std::optional<QString> tooLong = edits.hasVariables() ? limitProblem(expanded, m_settings, m_pack) : std::nullopt;
            if (!tooLong)
                applyEdits(values, expanded);
            return tooLong;
        };
        const ProcessResult result = rewriteIptcValuesChecked(path, m_label, change, m_options,
                                                              false, &m_feedback);
        if (result.status != ProcessResult::Status::Written)
            return result.reason.isEmpty() ? m_pack.message(Message::CliFileNotWritten) : result.reason;
        if (revision)
            recordRow(path, folder, file, *revision, result);
        return {};
    }

    // The run's number in the journal, 0 when none was kept.
    int finish()
    {
        if (!m_journal)
            return 0;
        const int run = m_journal->currentRun();
        m_journal->finishRun();
        const auto runs = m_journal->runs();
        const bool kept = runs && std::any_of(runs->begin(), runs->end(), [run](const JournalRun &r) { return r.number == run; });
        return kept ? run : 0;
    }

private:
    // The row's revision before the write, for the undo; nothing for an image outside the catalogue.
    std::optional<std::pair<QString, QString>> catalogueRevision(const QString &folder, const QString &file)
    {
        if (!m_journal || !m_db.openOrReport(m_feedback))
            return std::nullopt;
        const ClosedOnExit closed(m_db);
        return rowRevision(m_db, folder, file);
    }

    void recordRow(const QString &path, const QString &folder, const QString &file,
                   const std::pair<QString, QString> &revision, const ProcessResult &result)
    {
        m_journal->noteOldRevision(path, revision.first, revision.second);
        if (m_db.openOrReport(m_feedback)) {
            recordImageRevision(m_db, m_feedback, folder, file, result.after, QLocale());
            m_db.close();
        }
        if (m_settings.createThumbnails && m_store.isAvailable())
            m_renewer.renew(path, result.content.joined());
    }

    CliContext &m_context;
    const AppSettings &m_settings;
    const LanguagePack &m_pack;
    const QDateTime m_started = QDateTime::currentDateTime(); // {Today}
    CatalogueDb &m_db;
    StreamFeedback m_feedback;
    const ThumbnailStore m_store;
    const StoredThumbnailRenewer m_renewer;
    QString m_label;
    IptcWriteOptions m_options;
    std::unique_ptr<UndoJournal> m_journal;
};

} // namespace

const CommandSyntax kReadSyntax{
    "read", "FILE...", "Prints the IPTC of image files as the scan reads it.",
    {{"--json", nullptr, "prints one JSON document for all the files"}}};

const CommandSyntax kWriteSyntax{
    "write", "FILE...", "Rewrites the IPTC of JPEG files with the values given.",
    [] {
        std::vector<OptionSyntax> options{
            {"--set", "Column=Value", "sets a field such as Caption; an empty value clears it", true},
            {"--customized", "N=Value", "sets customized dataset N (1 to 254); an empty value clears it", true},
            kCatalogueOption,
            {"--yes", nullptr, "rewrites without asking on a terminal"},
            kCodesOption,
            kCodeDelimiterOption};
        const std::vector<OptionSyntax> switches = switchOptions(rewriteSwitches());
        options.insert(options.end(), switches.begin(), switches.end());
        return options;
    }(),
    "The other values stay; values are checked as template set checks them, and may hold the variables\n"
    "of templates ({FileBase}, {Seq:3}, {City}...), expanded for each file. An image of the catalogue\n"
    "gets its row and thumbnail renewed, and the write is a run of the undo journal beside the\n"
    "catalogue (zelvarion-cli undo --run N). The backup rules of the edit options in Zelvarion.ini apply\n"
    "(SaveOriginalFile, SaveFirstVersion, SaveFolder), unless a switch above says otherwise for this run:\n"
    "a file whose copy cannot be made stays as it is."};

int runReadCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kReadSyntax, context, arguments))
        return *exit;
    const bool json = arguments.flag("--json");
    if (arguments.operands.isEmpty()) {
        context.err << "zelvarion-cli read: " << textOf(packOf(context), texts::kNoFiles) << '\n';
        return kExitBadArguments;
    }
    StreamFeedback feedback(context);
    Session session;
    loadSettingsAndLanguage(session);
    const LanguagePack &pack = session.language;
    QJsonArray results;
    int missing = 0; // files that could not be read, or whose IPTC is damaged
    for (const QString &path : std::as_const(arguments.operands)) {
        if (!filenames::fileFacts(path).isFile) {
            context.err << "zelvarion-cli read: " << withSubject(pack, Message::CliCannotOpen, path) << '\n';
            ++missing;
        }
        const IptcReadResult result = readImageIptc(path, defaultCustomizedLabel(), &feedback);
        if (!result.damage.isEmpty()) {
            context.err << "zelvarion-cli read: " << withSubject(pack, Message::CliDamagedIptc, path) << ": " << damageText(result.damage, &pack)
                        << '\n';
            ++missing;
        }
        if (json)
            results.append(readResultToJson(path, result, &pack));
        else
            printReadResult(context.out, path, result);
    }
    if (json)
        context.out << QString::fromUtf8(QJsonDocument(results).toJson(QJsonDocument::Indented));
    return missing == 0 ? kExitOk : kExitSomeFailed;
}

namespace {

// The catalogue whose rows a write renews: --catalogue's, which must exist, or the remembered one,
// without which the files are still written but no row follows and no undo is possible.
std::optional<int> chooseWriteCatalogue(CliContext &context, const ParsedArguments &arguments, Session &session)
{
    CatalogueDb &db = session.catalogue;
    const std::optional<QString> given = arguments.value("--catalogue");
    db.path = session.cataloguePath(given.value_or(QString()));
    const bool there = db.isServer() ? catalogueExists(db.path) : QFileInfo(db.path).exists();
    if (there && !catalogueUsable(context, "write", db.path, session.language))
        return kExitSomeFailed;
    if (there)
        return std::nullopt;
    if (given) {
        context.err << "zelvarion-cli write: " << withSubject(session.language, Message::CliCatalogueMissing, db.path) << '\n';
        return kExitSomeFailed;
    }
    context.err << "zelvarion-cli write: " << withSubject(session.language, Message::CliWriteWithoutCatalogue, db.path)
                << '\n';
    return std::nullopt;
}

} // namespace

namespace {

// The values to write: the edits with their codes expanded, checked against the fields' forms and
// limits. An exit code when refused.
std::optional<int> prepareWriteTexts(CliContext &context, const ParsedArguments &arguments, Session &session,
                                     WriteEdits &edits, EditTexts &texts)
{
    const LanguagePack &pack = session.language;
    if (const std::optional<QString> both = applyStoredSwitches(arguments, rewriteSwitches(), session.settings, pack)) {
        context.err << "zelvarion-cli write: " << *both << '\n';
        return kExitBadArguments;
    }
    ValueCodes codes(context, "write", pack);
    if (!codes.load(arguments, session.settings))
        return kExitBadArguments;
    for (auto &[index, value] : edits.fields)
        value = codes.expand(value);
    for (auto &[number, value] : edits.customized)
        value = codes.expand(value);
    std::optional<QString> refused = formProblem(edits, pack);
    if (!refused)
        refused = texts.parse(edits, pack);
    if (!refused)
        refused = limitProblem(texts.fixed(), session.settings, pack);
    if (refused) {
        context.err << "zelvarion-cli write: " << *refused << '\n';
        return kExitBadArguments;
    }
    return std::nullopt;
}

// Every file rewritten as one run of the undo journal, each named as written or not.
int writeFiles(CliContext &context, const ParsedArguments &arguments, Session &session, const EditTexts &texts)
{
    const LanguagePack &pack = session.language;
    WriteRun run(context, session);
    QStringList description = arguments.values("--set");
    description += arguments.values("--customized");
    if (!run.start(QStringLiteral("write ") + description.join(u' ')))
        return kExitSomeFailed;
    int notWritten = 0;
    int sequence = 0;
    for (const QString &path : arguments.operands) {
        const QString failure = run.write(path, texts, ++sequence);
        if (failure.isEmpty()) {
            context.out << withSubject(pack, Message::CliWritten, escapedName(path)) << '\n';
        } else {
            context.err << "zelvarion-cli write: " << withSubject(pack, Message::CliNotWritten, path) << ": " << failure << '\n';
            ++notWritten;
        }
    }
    if (const int number = run.finish())
        context.out << pack.message(Message::CliUndoRunNumber).replace(u'#', QString::number(number)) << '\n';
    return notWritten == 0 ? kExitOk : kExitSomeFailed;
}

} // namespace

int runWriteCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kWriteSyntax, context, arguments))
        return *exit;
    WriteEdits edits;
    QString problem;
    if (!takeFieldEdits(arguments, edits, problem, packOf(context))
        || !takeCustomizedEdits(arguments, edits, problem, packOf(context))) {
        context.err << "zelvarion-cli write: " << problem << '\n';
        return kExitBadArguments;
    }
    const QStringList &files = arguments.operands;
    if (files.isEmpty()) {
        context.err << "zelvarion-cli write: " << textOf(packOf(context), texts::kNoFiles) << '\n';
        return kExitBadArguments;
    }
    Session session;
    loadSettingsAndLanguage(session);
    const LanguagePack &pack = session.language;
    EditTexts texts;
    if (const std::optional<int> refused = prepareWriteTexts(context, arguments, session, edits, texts))
        return *refused;
    CatalogueDb &db = session.catalogue;
    if (const std::optional<int> failed = chooseWriteCatalogue(context, arguments, session))
        return *failed;
    const QString question = counted(pack, Message::CliRewriteQuestion, files.size());
    if (!arguments.flag("--yes") && !confirmOnTerminal(context, question)) {
        context.err << "zelvarion-cli write: " << pack.message(Message::CliNothingWritten) << '\n';
        return kExitSomeFailed;
    }
    // The catalogue whose rows this write renews is the one whose other commands could rewrite these files too.
    StreamFeedback feedback(context);
    CatalogueWriteLock lock(db.path);
    if (catalogueExists(db.path) && !lock.takeOrWait(feedback, pack))
        return kExitSomeFailed;
    return writeFiles(context, arguments, session, texts);
}

} // namespace zelvarion::cli
