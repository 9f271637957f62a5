#pragma once

#include "core/search/ResultList.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QTreeWidget;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
class QRadioButton;

namespace zelvarion {

struct AppContext;
class Feedback;
struct ApplySummary;

// Applies the template in use to every image of the search result: the merge mode and keyword
// option, a confirmation, progress with Stop, the images not processed and the last thumbnail.
// After a run it reports what was done and offers only Close: another run is another opening.
class frmApplyTemplate : public QDialog
{
    Q_OBJECT
public:
    frmApplyTemplate(AppContext &context, Feedback &feedback, const ResultList &results, QWidget *parent = nullptr);

    // The template dialog it opens modally; tests replace it.
    void setTemplatesOpener(std::function<void()> opener) { m_openTemplates = std::move(opener); }
    // Where renewed thumbnails go; empty for the user's thumbnail cache. For tests.
    void setThumbnailStoreRoot(const QString &root) { m_thumbnailStoreRoot = root; }

    // Shows the template in use and enables OK only when there is one.
    void updateUsedTemplate();
    // cmdOK: stores the options, asks, and runs over the whole result.
    void run();
    // cmdCancelProcess: the run stops before the next image.
    void stop() { m_stopRequested = true; }
    bool isRunning() const { return m_running; }

    // While a run goes the dialog stays: closing stops the run, which then gives its account.
    void done(int result) override;

Q_SIGNALS:
    // After a run that wrote images: their catalogue rows changed.
    void imagesRewritten(int count);

private:
    class RunFeedback;
    void createControls();
    void createProgressControls();
    void applyTexts();
    void placeOptions();
    void placeProgress(QVBoxLayout *layout);
    void setFromSettings();
    void modeClicked();
    void storeOptions();
    void setRunning(bool running);
    void showThumbnail(const QByteArray &jpeg);
    void listNotProcessed(const QString &path, const QString &reason);
    void finishRun(const ApplySummary &summary, int imagesDone);
    QString summaryText(const ApplySummary &summary) const;
    void showFinished();

    AppContext &m_context;
    Feedback &m_feedback;
    const ResultList &m_results;
    std::function<void()> m_openTemplates;
    QString m_thumbnailStoreRoot;
    bool m_running = false;
    bool m_stopRequested = false;
    std::array<QRadioButton *, 3> m_mode{};
    std::array<QLabel *, 3> m_modeCaption{};
    QCheckBox *m_addKeywords = nullptr, *m_removeKeywords = nullptr;
    QLabel *m_template = nullptr, *m_notProcessedLabel = nullptr, *m_processedLabel = nullptr, *m_min = nullptr,
           *m_max = nullptr, *m_current = nullptr, *m_status = nullptr, *m_preview = nullptr;
    QTreeWidget *m_notProcessed = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_ok = nullptr, *m_stop = nullptr, *m_cancel = nullptr, *m_templates = nullptr;
};

} // namespace zelvarion
