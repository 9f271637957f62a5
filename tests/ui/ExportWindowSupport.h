#pragma once

// A program folder with a catalogue, the shipped stylesheets and a result list, for the windows
// of the export and the statistics.

#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueSchema.h"
#include "core/search/ImageRows.h"
#include "core/search/ResultList.h"
#include "platform/ProgramFolder.h"
#include "ui/AppContext.h"

#include <QDir>
#include <QFile>

namespace zelvarion::test {

struct ExportWindowFixture
{
    ProgramFolderFixture folder;
    AppContext context;
    RecordingFeedback feedback;
    ResultList results;

    ExportWindowFixture()
    {
        context.language.load(programFolder::languageFolder(), QStringLiteral("English"));
        context.catalogue.path = folder.file(QStringLiteral("Images.db"));
        createCatalogueSchema(context.catalogue, feedback, {});
        const QDir shipped(QStringLiteral(ZELVARION_SOURCE_DIR "/data/XML"));
        QDir().mkpath(folder.file(QStringLiteral("XML")));
        for (const QString &name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), folder.file(QStringLiteral("XML/") + name));
    }

    // The configuration file's text, read as the program reads it at start-up.
    void configure(const QString &iniText)
    {
        folder.writeIni(iniText);
        context.settings = readAllSettings(context.ini);
    }

    // A catalogue row, and the image in the result.
    void add(const QString &file, const QString &keywords, const QString &caption = {})
    {
        CatalogueDb &db = context.catalogue;
        db.open();
        db.execute(insertImageStatement({{"Folder", QStringLiteral("/photos/")}, {"File", file},
                                         {"Keywords", keywords}, {"Caption", caption}}));
        db.close();
        std::vector<ResultRow> rows = results.rows();
        rows.push_back({QStringLiteral("/photos/"), file, {}});
        results.assign(std::move(rows));
    }
};

} // namespace zelvarion::test
