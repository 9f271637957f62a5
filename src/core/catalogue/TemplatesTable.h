#pragma once

#include "core/catalogue/TemplateRecord.h"

#include <QString>
#include <array>

namespace zelvarion {

// Every statement on the Templates table, as the template store runs them. A name goes into them between apostrophes with each
// apostrophe doubled. Where a name is compared with like, its "%", "_" and "\" are escaped, so
// the comparison ignores letter case (of every letter, through the catalogue's like) and each
// command hits exactly the template meant: removing a_c never touches abc.
namespace templatesTable {

// "Name like 'a\_c' escape '\'": the name compared without regard to letter case.
QString nameLike(const QString &name);

QString selectAll();                 // "select * from Templates order by Name;"
QString selectNamed(const QString &name);
QString selectInUse();               // "select * from Templates where(Status != '');"
QString insert(const QString &name, const QString &revision);
QString rename(const QString &oldName, const QString &newName);
QString remove(const QString &name);
QString clearStatusOfOthers(const QString &name);
QString setStatus(const QString &name, bool inUse);

} // namespace templatesTable

// What the edit dialog's OK stores: the 34 field columns in their stored forms and the 16
// customized rows as typed.
struct TemplateValues
{
    std::array<QString, kTemplateFieldCount> fields;
    std::array<CustomizedCell, kTemplateCustomizedCount> customized;
};

// "Update Templates set ObjectName='…',…,ImageType='…',CustomizedK='n/v',…,LastRevisionDate='…'
// where(Name = '…');". A customized row with both number and value is written as "n/v"; a row
// missing either is written empty, so a row the user emptied leaves no stale cell behind.
QString saveTemplateStatement(const QString &name, const TemplateValues &values, const QString &revision);

} // namespace zelvarion
