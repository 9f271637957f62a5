#include "core/catalogue/CatalogueTables.h"

#include "core/catalogue/SqlText.h"

namespace zelvarion {
namespace {

constexpr const char *kPathColumns[] = {"Folder", "File"};
constexpr const char *kFileFactColumns[] = {
    "FileCreationDate", "FileCreationTime", "FileLastWriteDate", "FileLastWriteTime", "FileSize",
    "LastRevisionDate", "LastRevisionTime", "SupportIPTC",       "Width",             "Height",
    "CheckMark",
};
static_assert(std::size(kPathColumns) == std::size_t(ImagesColumn::FirstIptcField));
static_assert(std::size(kFileFactColumns) == std::size_t(kImagesColumnCount - int(ImagesColumn::LastIptcField) - 1));

QString joinedByComma(const QStringList &names) { return names.join(u','); }

} // namespace

QLatin1String imagesColumnName(ImagesColumn column)
{
    const int number = int(column);
    if (number < int(ImagesColumn::FirstIptcField))
        return QLatin1String(kPathColumns[number]);
    if (column <= ImagesColumn::LastIptcField)
        return QLatin1String(iptcField(number - int(ImagesColumn::FirstIptcField)).column);
    return QLatin1String(kFileFactColumns[number - int(ImagesColumn::LastIptcField) - 1]);
}

QString imagesColumnList(std::initializer_list<ImagesColumn> columns)
{
    QStringList names;
    for (ImagesColumn column : columns)
        names << imagesColumnName(column);
    return joinedByComma(names);
}

QStringList imagesColumnNames()
{
    QStringList names;
    for (int number = 0; number < kImagesColumnCount; ++number)
        names << imagesColumnName(ImagesColumn(number));
    return names;
}

ImagesRow::ImagesRow(const QStringList &cells)
{
    for (int number = 0; number < kImagesColumnCount && number < cells.size(); ++number)
        m_cells[std::size_t(number)] = cells[number];
}

QString insertImagesRowStatement(const ImagesRow &row)
{
    QString statement;
    statement.reserve(1024);
    statement += QStringLiteral("insert into Images values(");
    for (int number = 0; number < kImagesColumnCount; ++number) {
        if (number > 0)
            statement += u',';
        statement += sqlText(row[ImagesColumn(number)]);
    }
    return statement + QStringLiteral(");");
}

QString resultListColumnList()
{
    return imagesColumnList({ImagesColumn::Folder, ImagesColumn::File, ImagesColumn::CheckMark});
}

QString templatesColumnName(TemplatesColumn column)
{
    const int number = int(column);
    if (column == TemplatesColumn::Name)
        return QStringLiteral("Name");
    if (column == TemplatesColumn::Status)
        return QStringLiteral("Status");
    if (column <= TemplatesColumn::LastIptcField)
        return QLatin1String(iptcField(number - int(TemplatesColumn::FirstIptcField)).column);
    if (column <= TemplatesColumn::LastCustomizedSlot)
        return QStringLiteral("Customized") + QString::number(number - int(TemplatesColumn::FirstCustomizedSlot) + 1);
    return QStringLiteral("LastRevisionDate");
}

QStringList templatesColumnNames()
{
    QStringList names;
    for (int number = 0; number < kTemplatesColumnCount; ++number)
        names << templatesColumnName(TemplatesColumn(number));
    return names;
}

QString createImagesTableStatement()
{
    return QStringLiteral("create table Images(") + joinedByComma(imagesColumnNames()) + QStringLiteral(");");
}

QString createImagesAllIptcIndexStatement()
{
    return QStringLiteral("create index IndexImagesAllIPTC on Images(") + joinedByComma(iptcColumnNames())
           + QStringLiteral(");");
}

QString createTemplatesTableStatement()
{
    return QStringLiteral("create table Templates(") + joinedByComma(templatesColumnNames()) + QStringLiteral(");");
}

} // namespace zelvarion
