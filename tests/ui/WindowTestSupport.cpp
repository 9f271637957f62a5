#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueDb.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>

namespace zelvarion::test {

ProgramFolderFixture::ProgramFolderFixture(bool withLanguagePacks)
{
    programFolder::setOverride(m_folder.path());
    if (!withLanguagePacks)
        return;
    const QDir packs(QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language"));
    QDir().mkpath(file(QStringLiteral("Zelvarion-Language")));
    for (const QString &name : packs.entryList({QStringLiteral("*.lng")}, QDir::Files))
        QFile::copy(packs.filePath(name), file(QStringLiteral("Zelvarion-Language/") + name));
}

ProgramFolderFixture::~ProgramFolderFixture()
{
    programFolder::setOverride(QString());
}

QString ProgramFolderFixture::iniText() const
{
    return QString::fromUtf8(m_folder.read(QStringLiteral("Zelvarion.ini")));
}

void ProgramFolderFixture::writeIni(const QString &text) const
{
    m_folder.write(QStringLiteral("Zelvarion.ini"), text.toUtf8());
}

void StartedWindow::start()
{
    window = std::make_unique<frmZelvarion>(&feedback);
    window->setDatabaseDialogOpener([this] { ++databaseDialogOpenings; });
    window->startUp();
}

QStringList catalogueObjects(const QString &path, const QString &type)
{
    QStringList names;
    CatalogueDb db;
    db.path = path;
    if (db.open() && db.execute(QStringLiteral("select name from sqlite_master where type = ") + sqlText(type)
                                + QStringLiteral(" order by name;")) == 0) {
        for (int r = 1; r <= db.rowCount(); ++r)
            names << db.cell(0, r);
    }
    db.close();
    return names;
}

QStringList catalogueRows(const QString &path, const QString &statement)
{
    CatalogueDb db;
    db.path = path;
    if (!db.open() || db.execute(statement) != 0)
        return {db.errorText()};
    QStringList lines;
    for (int r = 1; r <= db.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < db.columnCount(); ++c)
            cells << db.cell(c, r);
        lines << cells.join(u'|');
    }
    return lines;
}

} // namespace zelvarion::test
