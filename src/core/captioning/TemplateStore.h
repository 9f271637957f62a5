#pragma once

#include "core/catalogue/TemplateRecord.h"
#include "core/catalogue/TemplatesTable.h"

#include <QString>
#include <optional>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;

// The operations on the Templates table. Each opens the catalogue, runs its statements and
// closes it again; a failed open or statement is reported through the feedback with its message
// (CannotGetData, CannotInsertData, CannotUpdateData).
class TemplateStore
{
public:
    TemplateStore(CatalogueDb &db, Feedback &feedback) : m_db(db), m_feedback(feedback) {}

    // Every template, ordered by name; nothing when the catalogue or the select failed.
    std::optional<std::vector<TemplateRecord>> list();

    enum class NameOutcome {
        Done,
        Empty,  // the trimmed name is empty (or, for a rename, nothing is selected): nothing happens
        Taken,  // a template of that name exists, in any letter case: message 13
        Failed, // reported
    };
    // Adds a template named as typed (trimmed), with its creation time as LastRevisionDate.
    NameOutcome add(const QString &typed, const QString &revision);
    // Gives the template `selected` the typed name (trimmed).
    NameOutcome rename(const QString &selected, const QString &typed);
    bool remove(const QString &name);
    // Makes the template the only one in use, or (ticked off) leaves none in use.
    bool markInUse(const QString &name, bool inUse);

    // The row the edit dialog loads; nothing when it failed or no template has that name.
    std::optional<TemplateRecord> load(const QString &name);
    // Refuses (reported) values their datasets could not hold, counted in the bytes written, and
    // texts whose variables a run could not expand.
    bool save(const QString &name, const TemplateValues &values, const QString &revision);

    // The template in use. `ok` is false when the catalogue or the select failed (reported).
    struct InUse
    {
        bool ok = false;
        std::optional<TemplateRecord> record;
    };
    InUse inUse();

    // The last operation could not open the catalogue (reported): nothing there changed, and a
    // window need not read the list again, which would only report it once more.
    bool openFailed() const { return m_openFailed; }

private:
    bool open();
    NameOutcome nameIsFree(const QString &name);

    CatalogueDb &m_db;
    Feedback &m_feedback;
    bool m_openFailed = false;
};

} // namespace zelvarion
