#include "core/captioning/TemplateStore.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/session/Feedback.h"
#include "core/session/TextRules.h"
#include "core/captioning/TemplateEdits.h"
#include "core/captioning/TemplateVariables.h"

namespace zelvarion {

bool TemplateStore::open()
{
    m_openFailed = !m_db.openOrReport(m_feedback);
    return !m_openFailed;
}

std::optional<std::vector<TemplateRecord>> TemplateStore::list()
{
    if (!open())
        return std::nullopt;
    const ClosedOnExit closed(m_db);
    return templatesTable::all(m_db, m_feedback);
}

// On the open catalogue: Done when no template has the name in any letter case.
TemplateStore::NameOutcome TemplateStore::nameIsFree(const QString &name)
{
    const std::optional<bool> taken = templatesTable::nameTaken(m_db, m_feedback, name);
    if (!taken)
        return NameOutcome::Failed;
    return *taken ? NameOutcome::Taken : NameOutcome::Done;
}

TemplateStore::NameOutcome TemplateStore::add(const QString &typed, const QString &revision)
{
    const QString name = trimBlanks(typed);
    if (name.isEmpty())
        return NameOutcome::Empty;
    if (!open())
        return NameOutcome::Failed;
    const ClosedOnExit closed(m_db);
    const NameOutcome free = nameIsFree(name);
    if (free != NameOutcome::Done)
        return free;
    return templatesTable::add(m_db, m_feedback, name, revision) ? NameOutcome::Done : NameOutcome::Failed;
}

TemplateStore::NameOutcome TemplateStore::rename(const QString &selected, const QString &typed)
{
    const QString name = trimBlanks(typed);
    if (name.isEmpty() || selected.isEmpty())
        return NameOutcome::Empty;
    if (!open())
        return NameOutcome::Failed;
    const ClosedOnExit closed(m_db);
    // The selected template itself counts: a change of letter case only is refused too.
    const NameOutcome free = nameIsFree(name);
    if (free != NameOutcome::Done)
        return free;
    return templatesTable::rename(m_db, m_feedback, selected, name) ? NameOutcome::Done : NameOutcome::Failed;
}

bool TemplateStore::remove(const QString &name)
{
    if (!open())
        return false;
    const ClosedOnExit closed(m_db);
    return templatesTable::remove(m_db, m_feedback, name);
}

bool TemplateStore::markInUse(const QString &name, bool inUse)
{
    if (!open())
        return false;
    const ClosedOnExit closed(m_db);
    return templatesTable::markInUse(m_db, m_feedback, name, inUse);
}

std::optional<TemplateRecord> TemplateStore::load(const QString &name)
{
    if (!open())
        return std::nullopt;
    const ClosedOnExit closed(m_db);
    return templatesTable::named(m_db, m_feedback, name);
}

bool TemplateStore::save(const QString &name, const TemplateValues &values, const QString &revision)
{
    // Applied, such a value would have to be cut; the callers check first and say it their way.
    if (const std::optional<ValueOverLimit> over = templateValueOverLimit(values, ValueLimits::Write)) {
        m_feedback.reportFailure({Message::CannotUpdateData, {}, overLimitReason(*over, &m_feedback.language())});
        return false;
    }
    // A variable the run could not expand would otherwise be refused at every run.
    if (const std::optional<TemplateTextProblem> problem = firstTemplateTextProblem(values)) {
        const QString field = QLatin1String(iptcField(problem->fieldIndex).column);
        m_feedback.reportFailure({Message::CannotUpdateData, {}, templateTextProblemText(*problem, field, nullptr)});
        return false;
    }
    if (!open())
        return false;
    const ClosedOnExit closed(m_db);
    return templatesTable::save(m_db, m_feedback, name, values, revision);
}

TemplateStore::InUse TemplateStore::inUse()
{
    InUse found;
    if (!open())
        return found;
    const ClosedOnExit closed(m_db);
    found.ok = templatesTable::inUse(m_db, m_feedback, found.record);
    return found;
}

} // namespace zelvarion
