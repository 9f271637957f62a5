// zelvarion-cli template: the template store of the template dialog and the edit dialog's OK,
// from the command line.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/CodeOptions.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/editing/EditDates.h"
#include "core/iptc/IptcField.h"
#include "core/session/AppSettings.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "core/captioning/TemplateEdits.h"
#include "core/captioning/TemplateStore.h"
#include "core/captioning/TemplateVariables.h"
#include "platform/ProgramFolder.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

// What every template command works with.
struct TemplateSession : Session
{
    CliContext &context;
    StreamFeedback feedback{context};
    TemplateStore store{catalogue, feedback};
    bool json = false;

    TemplateSession(CliContext &c, const ParsedArguments &arguments) : context(c), json(arguments.flag("--json"))
    {
        cli::loadSettingsAndLanguage(*this);
        catalogue.path =
            arguments.value("--catalogue").value_or(settings.lastDB.value_or(programFolder::defaultCataloguePath()));
    }
    // Opening would create an empty catalogue where there is none, or tables in another file.
    bool catalogueExists() { return catalogueUsable(context, "template", catalogue.path, language); }
    int fail(const QString &problem, int code)
    {
        context.err << "zelvarion-cli template: " << problem << '\n';
        return code;
    }
    std::optional<TemplateRecord> named(const QString &name)
    {
        std::optional<TemplateRecord> record = store.load(name);
        if (!record)
            context.err << "zelvarion-cli template: " << withSubject(language, Message::CliNoTemplateNamed, name) << '\n';
        return record;
    }
};

QJsonObject recordToJson(const TemplateRecord &record, bool withValues)
{
    QJsonObject object{{QStringLiteral("name"), record.name},
                       {QStringLiteral("inUse"), record.ticked()},
                       {QStringLiteral("fieldCount"), record.fieldCount()},
                       {QStringLiteral("customizedCount"), record.customizedCount()},
                       {QStringLiteral("lastSaved"), isoFromRevisionStamp(record.lastRevisionDate)}};
    if (!withValues)
        return object;
    QJsonObject fields;
    for (int i = 0; i < kTemplateFieldCount; ++i)
        fields.insert(QLatin1String(iptcField(i).column), record.fields[std::size_t(i)]);
    QJsonArray customized;
    for (const QString &cell : record.customized)
        customized.append(cell);
    object.insert(QStringLiteral("fields"), fields);
    object.insert(QStringLiteral("customized"), customized);
    return object;
}

int list(TemplateSession &s, bool json)
{
    const auto records = s.store.list();
    if (!records)
        return 1;
    QJsonArray array;
    for (const TemplateRecord &record : *records) {
        if (json)
            array.append(recordToJson(record, false));
        else
            s.context.out << (record.ticked() ? "* " : "  ") << escapedName(record.name) << '\t' << record.fieldCount()
                          << '\t' << record.customizedCount() << '\t' << isoFromRevisionStamp(record.lastRevisionDate)
                          << '\n';
    }
    if (json)
        s.context.out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    return 0;
}

int show(TemplateSession &s, const QString &name, bool json)
{
    const std::optional<TemplateRecord> record = s.named(name);
    if (!record)
        return 1;
    if (json) {
        s.context.out << QString::fromUtf8(QJsonDocument(recordToJson(*record, true)).toJson(QJsonDocument::Indented));
        return 0;
    }
    s.context.out << escapedName(record->name)
                  << (record->ticked() ? u' ' + s.language.message(Message::CliInUse) : QString()) << '\n';
    for (int i = 0; i < kTemplateFieldCount; ++i)
        s.context.out << "  " << iptcField(i).column << ": " << record->fields[std::size_t(i)] << '\n';
    for (int k = 0; k < kTemplateCustomizedCount; ++k)
        s.context.out << "  Customized" << (k + 1) << ": " << record->customized[std::size_t(k)] << '\n';
    s.context.out << "  LastRevisionDate: " << isoFromRevisionStamp(record->lastRevisionDate) << '\n';
    return 0;
}

int nameOutcome(TemplateSession &s, TemplateStore::NameOutcome outcome)
{
    switch (outcome) {
    case TemplateStore::NameOutcome::Done: return 0;
    case TemplateStore::NameOutcome::Empty: return s.fail(s.language.message(Message::SelectionNameRequired), 2);
    case TemplateStore::NameOutcome::Taken: return s.fail(s.language.message(Message::AlreadyInList), 1);
    case TemplateStore::NameOutcome::Failed: break;
    }
    return 1;
}

std::optional<int> columnIndex(const QString &column)
{
    for (const IptcField &field : kIptcFields)
        if (column.compare(QLatin1String(field.column), Qt::CaseInsensitive) == 0)
            return field.index;
    return std::nullopt;
}

// The field or customized row a problem of the template's variables is in, as set names it.
QString placeOf(const TemplateTextProblem &problem, const TemplateValues &values)
{
    if (problem.customizedRow >= 0)
        return QStringLiteral("--customized ") + values.customized[std::size_t(problem.customizedRow)].number;
    return QLatin1String(iptcField(problem.fieldIndex).column);
}

// Column=Value and --customized N=Value, applied to the template's values as OK would store them;
// codes are replaced first, then variables must be ones a run can expand.
int set(TemplateSession &s, const QString &name, const QStringList &edits, const QStringList &customized,
        ValueCodes &codes)
{
    std::optional<TemplateRecord> record = s.named(name);
    if (!record)
        return 1;
    TemplateValues values = valuesOf(*record);
    for (const QString &option : customized) {
        const qsizetype equals = option.indexOf(u'=');
        if (equals < 0)
            return s.fail(filled(textOf(s.language, texts::kTemplateCustomized), {{u'#', option}}), 2);
        if (const auto problem =
                editCustomized(values, option.left(equals), codes.expand(option.mid(equals + 1)), &s.language))
            return s.fail(*problem, 2);
    }
    const EditRules rules{s.settings.controlLengthFields, s.language.message(Message::ValueTooManyBytes), &s.language};
    for (const QString &edit : std::as_const(edits)) {
        const qsizetype equals = edit.indexOf(u'=');
        const std::optional<int> index = equals > 0 ? columnIndex(edit.left(equals)) : std::nullopt;
        if (!index)
            return s.fail(filled(textOf(s.language, texts::kTemplateColumnValue), {{u'#', edit}}), 2);
        if (const auto problem = editField(values, *index, codes.expand(edit.mid(equals + 1)), rules))
            return s.fail(*problem, 2);
    }
    if (const std::optional<TemplateTextProblem> problem = firstTemplateTextProblem(values))
        return s.fail(templateTextProblemText(*problem, placeOf(*problem, values), &s.language), 2);
    // The customized rows, and a charset that a later value turned to UTF-8, count only as a whole.
    if (const std::optional<ValueOverLimit> over = templateValueOverLimit(values, limitsOf(rules)))
        return s.fail(overLimitProblem(*over, rules), 2);
    const QString now = editing::revisionStamp(QDateTime::currentDateTime(), QLocale());
    return s.store.save(record->name, values, now) ? 0 : 1;
}

int usage(CliContext &context)
{
    const LanguagePack &pack = packOf(context);
    const QString actions = QStringLiteral("list | show NAME | add NAME | rename OLD NEW | remove NAME\n"
                                           "    | use NAME | unuse | set NAME [Column=Value]...");
    context.err << "zelvarion-cli template: "
                << withSeeHelp(pack, filled(textOf(pack, texts::kTemplateAction), {{u'#', actions}}), "template") << '\n';
    return kExitBadArguments;
}

int add(TemplateSession &s, const QStringList &a)
{
    return nameOutcome(s, s.store.add(a[0], editing::revisionStamp(QDateTime::currentDateTime(), QLocale())));
}

int unuse(TemplateSession &s, const QStringList &)
{
    const TemplateStore::InUse inUse = s.store.inUse();
    if (!inUse.ok)
        return 1;
    return !inUse.record || s.store.markInUse(inUse.record->name, false) ? 0 : 1;
}

// The commands on one existing template find it first: a name compares without regard to case.
int rename(TemplateSession &s, const QStringList &a)
{
    const auto record = s.named(a[0]);
    return !record ? 1 : nameOutcome(s, s.store.rename(record->name, a[1]));
}

int remove(TemplateSession &s, const QStringList &a)
{
    const auto record = s.named(a[0]);
    return record && s.store.remove(record->name) ? 0 : 1;
}

int use(TemplateSession &s, const QStringList &a)
{
    const auto record = s.named(a[0]);
    return record && s.store.markInUse(record->name, true) ? 0 : 1;
}

struct Action
{
    const char *name;
    int arguments;     // exactly this many, or at least this many when `more`
    bool more;
    int (*run)(TemplateSession &, const QStringList &);
};

} // namespace

const CommandSyntax kTemplateSyntax{
    "template", "ACTION [NAME] [Column=Value]...", "Lists, adds, renames, removes, chooses and fills the IPTC templates.",
    {kCatalogueOption,
     {"--json", nullptr, "list and show print JSON"},
     {"--customized", "N=Value", "set: customized dataset N (1 to 255 but not 120) of the template", true},
     kCodesOption, kCodeDelimiterOption},
    "Actions: list | show NAME | add NAME | rename OLD NEW | remove NAME | use NAME | unuse\n"
    "         | set NAME [Column=Value]... [--customized N=Value]... [--codes FILE]...\n"
    "set stores what the edit dialog's OK would: lists as \"a; b\", dates yyyymmdd, times hhnnss;\n"
    "an empty value empties the field. Names compare without regard to case. A text may hold\n"
    "variables such as {FileBase}, {FileDate:yyyy-MM-dd}, {Seq:3} or {City}, expanded for each image\n"
    "when the template is applied ({{ and }} write braces); one that cannot be is refused."};

int runTemplateCommand(CliContext &context)
{
    ParsedArguments parsed;
    if (const std::optional<int> exit = parseCommandLine(kTemplateSyntax, context, parsed))
        return *exit;
    TemplateSession s(context, parsed);
    const QStringList customized = parsed.values("--customized");
    const Action actions[] = {
        {"list", 0, false, [](TemplateSession &t, const QStringList &) { return list(t, t.json); }},
        {"show", 1, false, [](TemplateSession &t, const QStringList &a) { return show(t, a[0], t.json); }},
        {"add", 1, false, add},
        {"rename", 2, false, rename},
        {"remove", 1, false, remove},
        {"use", 1, false, use},
        {"unuse", 0, false, unuse},
        {"set", 1, true, nullptr},
    };
    QStringList operands = parsed.operands;
    const QString name = operands.isEmpty() ? QString() : operands.takeFirst();
    for (const Action &action : actions) {
        if (name != QLatin1String(action.name))
            continue;
        if (action.more ? operands.size() < action.arguments : operands.size() != action.arguments)
            return usage(context);
        if (!action.run) { // set, the one action with options of its own
            ValueCodes codes(context, "template", s.language);
            if (!codes.load(parsed, s.settings))
                return kExitBadArguments;
            return s.catalogueExists() ? set(s, operands[0], operands.mid(1), customized, codes) : kExitSomeFailed;
        }
        if (!customized.isEmpty() || !parsed.values("--codes").isEmpty() || parsed.value("--code-delimiter"))
            return s.fail(textOf(s.language, texts::kTemplateSetOptions), kExitBadArguments);
        return s.catalogueExists() ? action.run(s, operands) : kExitSomeFailed;
    }
    return usage(context);
}

} // namespace zelvarion::cli
