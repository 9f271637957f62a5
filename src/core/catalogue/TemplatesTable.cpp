#include "core/catalogue/TemplatesTable.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/iptc/IptcField.h"

namespace zelvarion {
namespace templatesTable {
namespace {

// "Name like 'a\_c' escape '\'": the name compared without regard to letter case.
QString nameLike(const QString &name)
{
    QString escaped;
    escaped.reserve(name.size() + 4);
    for (const QChar c : name) {
        if (c == u'%' || c == u'_' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    return QStringLiteral("Name like ") + sqlText(escaped) + QStringLiteral(" escape '\\'");
}

QString selectAllStatement() { return QStringLiteral("select * from Templates order by Name;"); }

QString selectNamedStatement(const QString &name)
{
    return QStringLiteral("select * from Templates where(") + nameLike(name) + QStringLiteral(");");
}

QString selectInUseStatement() { return QStringLiteral("select * from Templates where(Status != '');"); }

QString insertStatement(const QString &name, const QString &revision)
{
    return QStringLiteral("insert into Templates (Name,LastRevisionDate) values(%1,%2);")
        .arg(sqlText(name), sqlText(revision));
}

QString renameStatement(const QString &oldName, const QString &newName)
{
    return QStringLiteral("Update Templates set Name=%1 where(Name = %2);").arg(sqlText(newName), sqlText(oldName));
}

QString removeStatement(const QString &name)
{
    return QStringLiteral("delete from Templates where(") + nameLike(name) + QStringLiteral(");");
}

QString clearStatusOfOthersStatement(const QString &name)
{
    return QStringLiteral("Update Templates set Status='' where(Name != %1);").arg(sqlText(name));
}

QString setStatusStatement(const QString &name, bool inUse)
{
    return QStringLiteral("Update Templates set Status=%1 where(").arg(inUse ? QStringLiteral("'1'") : QStringLiteral("''"))
           + nameLike(name) + QStringLiteral(");");
}

} // namespace

std::optional<std::vector<TemplateRecord>> all(CatalogueDb &db, Feedback &feedback)
{
    if (!db.executeOrReport(feedback, selectAllStatement(), Message::CannotGetData))
        return std::nullopt;
    std::vector<TemplateRecord> records;
    records.reserve(std::size_t(db.rowCount()));
    for (int row = 1; row <= db.rowCount(); ++row)
        records.push_back(templateFromResult(db.result(), row));
    return records;
}

std::optional<bool> nameTaken(CatalogueDb &db, Feedback &feedback, const QString &name)
{
    if (!db.executeOrReport(feedback, selectNamedStatement(name.toUpper()), Message::CannotGetData))
        return std::nullopt;
    return db.rowCount() > 0;
}

std::optional<TemplateRecord> named(CatalogueDb &db, Feedback &feedback, const QString &name)
{
    if (!db.executeOrReport(feedback, selectNamedStatement(name), Message::CannotGetData) || db.rowCount() < 1)
        return std::nullopt;
    return templateFromResult(db.result(), 1);
}

bool inUse(CatalogueDb &db, Feedback &feedback, std::optional<TemplateRecord> &record)
{
    record.reset();
    if (!db.executeOrReport(feedback, selectInUseStatement(), Message::CannotGetData))
        return false;
    if (db.rowCount() > 0)
        record = templateFromResult(db.result(), 1);
    return true;
}

bool add(CatalogueDb &db, Feedback &feedback, const QString &name, const QString &revision)
{
    return db.executeOrReport(feedback, insertStatement(name, revision), Message::CannotInsertData);
}

bool rename(CatalogueDb &db, Feedback &feedback, const QString &oldName, const QString &newName)
{
    return db.executeOrReport(feedback, renameStatement(oldName, newName), Message::CannotUpdateData);
}

bool remove(CatalogueDb &db, Feedback &feedback, const QString &name)
{
    return db.executeOrReport(feedback, removeStatement(name), Message::CannotGetData);
}

bool markInUse(CatalogueDb &db, Feedback &feedback, const QString &name, bool inUse)
{
    return db.executeOrReport(feedback, clearStatusOfOthersStatement(name), Message::CannotUpdateData)
           && db.executeOrReport(feedback, setStatusStatement(name, inUse), Message::CannotUpdateData);
}

bool save(CatalogueDb &db, Feedback &feedback, const QString &name, const TemplateValues &values,
          const QString &revision)
{
    return db.executeOrReport(feedback, saveStatement(name, values, revision), Message::CannotUpdateData);
}

QString saveStatement(const QString &name, const TemplateValues &values, const QString &revision)
{
    QString statement = QStringLiteral("Update Templates set ");
    for (int i = 0; i < kTemplateFieldCount; ++i)
        statement += QLatin1String(iptcField(i).column) + u'=' + sqlText(values.fields[std::size_t(i)]) + u',';
    for (int k = 0; k < kTemplateCustomizedCount; ++k) {
        const CustomizedCell &row = values.customized[std::size_t(k)];
        const bool complete = !row.number.isEmpty() && !row.value.isEmpty();
        statement += QStringLiteral("Customized%1=").arg(k + 1)
                     + sqlText(complete ? row.number + u'/' + row.value : QString()) + u',';
    }
    statement += QStringLiteral("LastRevisionDate=") + sqlText(revision) + QStringLiteral(" where(Name = ")
                 + sqlText(name) + QStringLiteral(");");
    return statement;
}

} // namespace templatesTable
} // namespace zelvarion
