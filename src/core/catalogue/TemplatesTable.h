#pragma once

#include "core/catalogue/TemplateRecord.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;

// What the edit dialog's OK stores: the 34 field columns in their stored forms and the 16
// customized rows as typed.
struct TemplateValues
{
    std::array<QString, kTemplateFieldCount> fields;
    std::array<CustomizedCell, kTemplateCustomizedCount> customized;
};

// Every statement on the Templates table. Each runs on the open catalogue and reports a failure
// with its command's message. A name goes into the statements between apostrophes with each
// apostrophe doubled. Where a name is compared with like, its "%", "_" and "\" are escaped, so
// the comparison ignores letter case (of every letter, through the catalogue's like) and each
// command hits exactly the template meant: removing a_c never touches abc.
namespace templatesTable {

// Every template by name; nothing after a reported failure.
std::optional<std::vector<TemplateRecord>> all(CatalogueDb &db, Feedback &feedback);
// Whether a template has the name in any letter case; nothing after a reported failure.
std::optional<bool> nameTaken(CatalogueDb &db, Feedback &feedback, const QString &name);
// The template of that name in any letter case; nothing when none has it or the select failed.
std::optional<TemplateRecord> named(CatalogueDb &db, Feedback &feedback, const QString &name);
// The template in use into record (nothing when none is); false after a reported failure.
bool inUse(CatalogueDb &db, Feedback &feedback, std::optional<TemplateRecord> &record);

bool add(CatalogueDb &db, Feedback &feedback, const QString &name, const QString &revision);
bool rename(CatalogueDb &db, Feedback &feedback, const QString &oldName, const QString &newName);
bool remove(CatalogueDb &db, Feedback &feedback, const QString &name);
// The one template in use (or none, inUse false): every other loses its status first.
bool markInUse(CatalogueDb &db, Feedback &feedback, const QString &name, bool inUse);
// The values as saveStatement writes them.
bool save(CatalogueDb &db, Feedback &feedback, const QString &name, const TemplateValues &values,
          const QString &revision);

// "Update Templates set ObjectName='…',…,ImageType='…',CustomizedK='n/v',…,LastRevisionDate='…'
// where(Name = '…');". A customized row with both number and value is written as "n/v"; a row
// missing either is written empty, so a row the user emptied leaves no stale cell behind.
QString saveStatement(const QString &name, const TemplateValues &values, const QString &revision);

} // namespace templatesTable
} // namespace zelvarion
