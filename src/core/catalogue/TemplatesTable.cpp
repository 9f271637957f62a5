#include "core/catalogue/TemplatesTable.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/iptc/IptcField.h"

namespace zelvarion {
namespace templatesTable {

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

QString selectAll() { return QStringLiteral("select * from Templates order by Name;"); }

QString selectNamed(const QString &name)
{
    return QStringLiteral("select * from Templates where(") + nameLike(name) + QStringLiteral(");");
}

QString selectInUse() { return QStringLiteral("select * from Templates where(Status != '');"); }


QString insert(const QString &name, const QString &revision)
{
    return QStringLiteral("insert into Templates (Name,LastRevisionDate) values(%1,%2);")
        .arg(sqlText(name), sqlText(revision));
}

QString rename(const QString &oldName, const QString &newName)
{
    return QStringLiteral("Update Templates set Name=%1 where(Name = %2);").arg(sqlText(newName), sqlText(oldName));
}

QString remove(const QString &name)
{
    return QStringLiteral("delete from Templates where(") + nameLike(name) + QStringLiteral(");");
}

QString clearStatusOfOthers(const QString &name)
{
    return QStringLiteral("Update Templates set Status='' where(Name != %1);").arg(sqlText(name));
}

QString setStatus(const QString &name, bool inUse)
{
    return QStringLiteral("Update Templates set Status=%1 where(").arg(inUse ? QStringLiteral("'1'") : QStringLiteral("''"))
           + nameLike(name) + QStringLiteral(");");
}

} // namespace templatesTable

QString saveTemplateStatement(const QString &name, const TemplateValues &values, const QString &revision)
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

} // namespace zelvarion
