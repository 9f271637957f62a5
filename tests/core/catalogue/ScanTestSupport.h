#pragma once

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/FolderScan.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <QMutex>
#include <QStringList>

#include <map>
#include <vector>

namespace zelvarion::test {

// Sizes chosen by file name; records the policy every file was examined with.
class FakeExaminer : public ImageExaminer
{
public:
    std::map<QString, QSize> sizes; // by file name
    QByteArray thumbnail;           // handed back for every measured file when thumbnails are made

    ImageFacts examine(const QString &path, ThumbnailPolicy policy) const override
    {
        const QMutexLocker lock(&m_mutex);
        m_policies.push_back(policy);
        const auto found = sizes.find(path.section(u'/', -1));
        ImageFacts facts;
        if (found != sizes.end())
            facts.pixelSize = found->second;
        if (policy != ThumbnailPolicy::None && found != sizes.end())
            facts.thumbnail = thumbnail;
        return facts;
    }
    std::vector<ThumbnailPolicy> policies() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_policies;
    }

private:
    mutable QMutex m_mutex;
    mutable std::vector<ThumbnailPolicy> m_policies;
};

// Asks to stop once `after` progress lines have been written.
class StoppingFeedback : public RecordingFeedback
{
public:
    explicit StoppingFeedback(int after) : m_after(after) {}
    bool stopRequested() const override { return progressLines.size() >= m_after; }

private:
    int m_after;
};

// A catalogue with the full schema in a temporary folder, and the images folder beside it.
class ScanFixture
{
public:
    ScanFixture()
    {
        db.path = folder.file(QStringLiteral("Images.db"));
        createCatalogueSchema(db, feedback, {});
        root = folder.path() + QStringLiteral("/photos/");
    }

    QString write(const QString &relative, const QByteArray &bytes = "text") const
    {
        return folder.write(QStringLiteral("photos/") + relative, bytes);
    }

    void registerFolders(const QStringList &folders)
    {
        db.open();
        for (const QString &f : folders)
            registerFolder(db, feedback, f);
        db.close();
    }

    ScanSummary scan(const std::vector<ScanTarget> &targets, Feedback &with,
                     ThumbnailPolicy thumbnails = ThumbnailPolicy::None)
    {
        db.open();
        ScanOptions options;
        options.customizedLabel = QStringLiteral("Field");
        options.thumbnails = thumbnails;
        options.workerThreads = 2;
        FolderScanner scanner(db, with, examiner, options);
        const ScanSummary summary = scanner.run(targets);
        db.close();
        return summary;
    }
    ScanSummary scan(const std::vector<ScanTarget> &targets) { return scan(targets, feedback); }
    ScanSummary scanFolder(const QString &f) { return scan({{f, f}}); }

    // Rows of one select, each a list of its cells.
    std::vector<QStringList> rows(const QString &select)
    {
        db.open();
        db.execute(select);
        std::vector<QStringList> result;
        for (int r = 1; r <= db.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < db.columnCount(); ++c)
                cells << db.cell(c, r);
            result.push_back(cells);
        }
        db.close();
        return result;
    }
    QStringList paths()
    {
        QStringList found;
        for (const QStringList &row : rows(QStringLiteral("select Folder || File from Images order by rowid;")))
            found << row[0];
        return found;
    }
    QStringList folderRow(const QString &f)
    {
        const auto found = rows(QStringLiteral("select * from Folders where Folder=%1;").arg(sqlText(f)));
        return found.empty() ? QStringList() : found.front();
    }

    TempFolder folder;
    CatalogueDb db;
    RecordingFeedback feedback;
    FakeExaminer examiner;
    QString root;
};

} // namespace zelvarion::test
