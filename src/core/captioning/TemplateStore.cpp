#include "core/captioning/TemplateStore.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/session/Feedback.h"
#include "core/session/TextRules.h"
#include "core/captioning/TemplateEdits.h"
#include "core/captioning/TemplateVariables.h"

namespace zelvarion {
namespace {

constexpr Message kCannotGet = Message::CannotGetData;
constexpr Message kCannotUpdate = Message::CannotUpdateData;

} // namespace

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
    if (!m_db.executeOrReport(m_feedback, templatesTable::selectAll(), kCannotGet))
        return std::nullopt;
    std::vector<TemplateRecord> records;
    records.reserve(std::size_t(m_db.rowCount()));
    for (int row = 1; row <= m_db.rowCount(); ++row)
        records.push_back(templateFromResult(m_db.result(), row));
    return records;
}

// On the open catalogue: Done when no template has the name in any letter case.
TemplateStore::NameOutcome TemplateStore::nameIsFree(const QString &name)
{
    if (!m_db.executeOrReport(m_feedback, templatesTable::selectNamed(name.toUpper()), kCannotGet))
        return NameOutcome::Failed;
    return m_db.rowCount() > 0 ? NameOutcome::Taken : NameOutcome::Done;
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
    if (!m_db.executeOrReport(m_feedback, templatesTable::insert(name, revision), Message::CannotInsertData))
        return NameOutcome::Failed;
    return NameOutcome::Done;
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
    if (!m_db.executeOrReport(m_feedback, templatesTable::rename(selected, name), kCannotUpdate))
        return NameOutcome::Failed;
    return NameOutcome::Done;
}

bool TemplateStore::remove(const QString &name)
{
    if (!open())
        return false;
    const ClosedOnExit closed(m_db);
    return m_db.executeOrReport(m_feedback, templatesTable::remove(name), kCannotGet);
}

bool TemplateStore::markInUse(const QString &name, bool inUse)
{
    if (!open())
        return false;
    const ClosedOnExit closed(m_db);
    return m_db.executeOrReport(m_feedback, templatesTable::clearStatusOfOthers(name), kCannotUpdate)
           && m_db.executeOrReport(m_feedback, templatesTable::setStatus(name, inUse), kCannotUpdate);
}

std::optional<TemplateRecord> TemplateStore::load(const QString &name)
{
    if (!open())
        return std::nullopt;
    const ClosedOnExit closed(m_db);
    if (!m_db.executeOrReport(m_feedback, templatesTable::selectNamed(name), kCannotGet) || m_db.rowCount() < 1)
        return std::nullopt;
    return templateFromResult(m_db.result(), 1);
}

bool TemplateStore::save(const QString &name, const TemplateValues &values, const QString &revision)
{
    // Applied, such a value would have to be cut; the callers check first and say it their way.
    if (const std::optional<ValueOverLimit> over = templateValueOverLimit(values, ValueLimits::Write)) {
        m_feedback.reportFailure({kCannotUpdate, {}, overLimitReason(*over, &m_feedback.language())});
        return false;
    }
    // A variable the run could not expand would otherwise be refused at every run.
    if (const std::optional<TemplateTextProblem> problem = firstTemplateTextProblem(values)) {
        const QString field = QLatin1String(iptcField(problem->fieldIndex).column);
        m_feedback.reportFailure({kCannotUpdate, {}, templateTextProblemText(*problem, field, nullptr)});
        return false;
    }
    if (!open())
        return false;
    const ClosedOnExit closed(m_db);
    return m_db.executeOrReport(m_feedback, saveTemplateStatement(name, values, revision), kCannotUpdate);
}

TemplateStore::InUse TemplateStore::inUse()
{
    InUse found;
    if (!open())
        return found;
    const ClosedOnExit closed(m_db);
    if (!m_db.executeOrReport(m_feedback, templatesTable::selectInUse(), kCannotGet))
        return found;
    found.ok = true;
    if (m_db.rowCount() > 0)
        found.record = templateFromResult(m_db.result(), 1);
    return found;
}

} // namespace zelvarion
