// A test-only program over the apply-template run, so a test can kill a real run at any moment:
// applies the template in use (mode 1, add keywords) to every image of the catalogue, in file
// order, and prints one line per image written.
// Usage: apply_run_driver CATALOGUE [BACKUP_FOLDER]
#include "core/catalogue/CatalogueDb.h"
#include "core/shell/Feedback.h"
#include "core/templates/ApplyTemplateRun.h"

#include <QCoreApplication>

#include <cstdio>

using namespace zelvarion;

namespace {

class PrintingFeedback : public Feedback
{
public:
    void showMessage(const QString &text, MessageIcon, const QString &) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool askYesNo(const QString &, MessageIcon) override { return false; }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2)
        return 2;
    CatalogueDb db;
    db.path = arguments[1];
    PrintingFeedback feedback;
    std::vector<ResultRow> rows;
    if (!db.openOrReport(feedback) || db.execute(QStringLiteral("select Folder, File from Images order by File;")) != 0)
        return 1;
    for (int row = 1; row <= db.rowCount(); ++row)
        rows.push_back({db.cell(0, row), db.cell(1, row), {}});
    db.close();
    ApplyOptions options;
    options.mode = MergeMode::OverwriteNonEmpty;
    options.keywords = KeywordOption::Add;
    if (arguments.size() > 2)
        options.writeOptions = {true, false, arguments[2], false};
    ApplyObserver observer;
    observer.imageDone = [](const QString &path, const ProcessResult &result) {
        std::printf("%s %s\n", result.status == ProcessResult::Status::Written ? "written" : "not", qPrintable(path));
        std::fflush(stdout);
    };
    const ApplySummary summary = runApplyTemplate(db, feedback, rows, options, nullptr, observer);
    return summary.notProcessed.empty() && summary.ran ? 0 : 1;
}
