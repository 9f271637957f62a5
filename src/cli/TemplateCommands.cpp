// zelvarion-cli template: the template store of the template dialog and the edit dialog's OK,
// from the command line.
#include "cli/Commands.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/editing/EditDates.h"
#include "core/iptc/IptcField.h"
#include "core/shell/AppSettings.h"
#include "core/shell/Feedback.h"
#include "core/shell/LanguagePack.h"
#include "core/templates/TemplateEdits.h"
#include "core/templates/TemplateStore.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

class ErrorStreamFeedback : public Feedback
{
public:
    explicit ErrorStreamFeedback(QTextStream &err) : m_err(err) {}
    void showMessage(const QString &text, MessageIcon, const QString &) override { m_err << text << '\n'; }
    bool askYesNo(const QString &, MessageIcon) override { return false; }

private:
    QTextStream &m_err;
};

// What every template command works with.
struct TemplateSession
{
    CliContext &context;
    AppSettings settings = readAllSettings(IniFile(programFolder::configFilePath()));
    LanguagePack pack;
    CatalogueDb db;
    ErrorStreamFeedback feedback{context.err};
    TemplateStore store{db, feedback};
    bool json = false;

    explicit TemplateSession(CliContext &c) : context(c)
    {
        if (!pack.load(programFolder::languageFolder(), settings.language))
            pack.load(QCoreApplication::applicationDirPath() + QStringLiteral("/Zelvarion-Language/"), settings.language);
        db.path = takeOption(context.arguments, QStringLiteral("--catalogue"))
                      .value_or(settings.lastDB.value_or(programFolder::defaultCataloguePath()));
    }
    // Opening would create an empty catalogue where there is none.
    bool catalogueExists()
    {
        if (QFileInfo(db.path).isFile())
            return true;
        context.err << "zelvarion-cli template: no catalogue at " << db.path << '\n';
        return false;
    }
    int fail(const QString &problem, int code)
    {
        context.err << "zelvarion-cli template: " << problem << '\n';
        return code;
    }
    std::optional<TemplateRecord> named(const QString &name)
    {
        std::optional<TemplateRecord> record = store.load(name);
        if (!record)
            context.err << "zelvarion-cli template: no template named '" << name << "'\n";
        return record;
    }
};

QJsonObject recordToJson(const TemplateRecord &record, bool withValues)
{
    QJsonObject object{{QStringLiteral("name"), record.name},
                       {QStringLiteral("inUse"), record.ticked()},
                       {QStringLiteral("fieldCount"), record.fieldCount()},
                       {QStringLiteral("customizedCount"), record.customizedCount()},
                       {QStringLiteral("lastSaved"), record.lastRevisionDate}};
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
            s.context.out << (record.ticked() ? "* " : "  ") << record.name << '\t' << record.fieldCount() << '\t'
                          << record.customizedCount() << '\t' << record.lastRevisionDate << '\n';
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
    s.context.out << record->name << (record->ticked() ? " (in use)" : "") << '\n';
    for (int i = 0; i < kTemplateFieldCount; ++i)
        s.context.out << "  " << iptcField(i).column << ": " << record->fields[std::size_t(i)] << '\n';
    for (int k = 0; k < kTemplateCustomizedCount; ++k)
        s.context.out << "  Customized" << (k + 1) << ": " << record->customized[std::size_t(k)] << '\n';
    s.context.out << "  LastRevisionDate: " << record->lastRevisionDate << '\n';
    return 0;
}

int nameOutcome(TemplateSession &s, TemplateStore::NameOutcome outcome)
{
    switch (outcome) {
    case TemplateStore::NameOutcome::Done: return 0;
    case TemplateStore::NameOutcome::Empty: return s.fail(QStringLiteral("the name is empty"), 2);
    case TemplateStore::NameOutcome::Taken: return s.fail(s.pack.message(Message::AlreadyInList), 1);
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

// Column=Value and --customized N=Value, applied to the template's values as OK would store them.
int set(TemplateSession &s, const QString &name, QStringList edits)
{
    std::optional<TemplateRecord> record = s.named(name);
    if (!record)
        return 1;
    TemplateValues values = valuesOf(*record);
    while (const auto option = takeOption(edits, QStringLiteral("--customized"))) {
        const qsizetype equals = option->indexOf(u'=');
        if (equals < 0)
            return s.fail(QStringLiteral("--customized needs N=Value, not '%1'").arg(*option), 2);
        if (const auto problem = editCustomized(values, option->left(equals), option->mid(equals + 1)))
            return s.fail(*problem, 2);
    }
    const EditRules rules{s.settings.controlLengthFields, s.pack.message(Message::TextTooLong)};
    for (const QString &edit : std::as_const(edits)) {
        const qsizetype equals = edit.indexOf(u'=');
        const std::optional<int> index = equals > 0 ? columnIndex(edit.left(equals)) : std::nullopt;
        if (!index)
            return s.fail(QStringLiteral("expected Column=Value with a column name such as Caption, not '%1'").arg(edit), 2);
        if (const auto problem = editField(values, *index, edit.mid(equals + 1), rules))
            return s.fail(*problem, 2);
    }
    const QString now = editing::revisionStamp(QDateTime::currentDateTime(), QLocale::system());
    return s.store.save(record->name, values, now) ? 0 : 1;
}

int usage(CliContext &context)
{
    context.err << "zelvarion-cli template: list [--json] | add NAME | rename OLD NEW | remove NAME | use NAME | unuse\n"
                   "                        | show NAME [--json] | set NAME [Column=Value]... [--customized N=Value]...\n";
    return 2;
}

int add(TemplateSession &s, const QStringList &a)
{
    return nameOutcome(s, s.store.add(a[0], editing::revisionStamp(QDateTime::currentDateTime(), QLocale::system())));
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

int runTemplateCommand(CliContext &context)
{
    TemplateSession s(context);
    s.json = takeFlag(context.arguments, QStringLiteral("--json"));
    const Action actions[] = {
        {"list", 0, false, [](TemplateSession &t, const QStringList &) { return list(t, t.json); }},
        {"show", 1, false, [](TemplateSession &t, const QStringList &a) { return show(t, a[0], t.json); }},
        {"add", 1, false, add},
        {"rename", 2, false, rename},
        {"remove", 1, false, remove},
        {"use", 1, false, use},
        {"unuse", 0, false, unuse},
        {"set", 1, true, [](TemplateSession &t, const QStringList &a) { return set(t, a[0], a.mid(1)); }},
    };
    QStringList arguments = context.arguments;
    const QString name = arguments.isEmpty() ? QString() : arguments.takeFirst();
    for (const Action &action : actions) {
        if (name != QLatin1String(action.name))
            continue;
        if (action.more ? arguments.size() < action.arguments : arguments.size() != action.arguments)
            return usage(context);
        // Only set takes options of its own (--customized).
        for (const QString &argument : std::as_const(arguments))
            if (!action.more && argument.startsWith(QStringLiteral("--")))
                return s.fail(QStringLiteral("unknown option '%1'").arg(argument), 2);
        return s.catalogueExists() ? action.run(s, arguments) : 1;
    }
    return usage(context);
}

} // namespace zelvarion::cli
