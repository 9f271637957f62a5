#include "ui/frmApplyTemplate.h"

#include "core/catalogue/CatalogueWriteLock.h"
#include "core/catalogue/ThumbnailSizing.h"
#include "core/captioning/UndoJournal.h"
#include "core/session/Feedback.h"
#include "core/session/PackText.h"
#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/TemplateStore.h"
#include "core/captioning/TemplateThumbnails.h"
#include "core/session/RunOptions.h"
#include "platform/ThumbnailStore.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/frmTemplates.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>

namespace zelvarion {
using namespace controls;

namespace {

// The caption of a mode: the modes' texts are long sentences that wrap, which a radio button's own
// text cannot, so the button keeps none and a click on this label chooses it.
class ModeCaption : public QLabel
{
public:
    ModeCaption(QAbstractButton *button, QWidget *parent) : QLabel(parent), m_button(button)
    {
        setWordWrap(true);
        setBuddy(button);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_button->click();
    }

private:
    QAbstractButton *m_button;
};

} // namespace

// The run's messages go to the window's feedback; its events and Stop are the dialog's own.
class frmApplyTemplate::RunFeedback : public ForwardingFeedback
{
public:
    RunFeedback(Feedback &outer, const bool &stop) : ForwardingFeedback(outer), m_stop(stop) {}
    void processEvents() override { QCoreApplication::processEvents(); }
    bool stopRequested() const override { return m_stop; }

private:
    const bool &m_stop;
};

frmApplyTemplate::frmApplyTemplate(AppContext &context, Feedback &feedback, const ResultList &results, QWidget *parent)
    : QDialog(parent), m_context(context), m_feedback(feedback), m_results(results)
{
    setObjectName(QStringLiteral("frmApplyTemplate"));
    setModal(true);
    m_openTemplates = [this] { frmTemplates(m_context, m_feedback, this).exec(); };
    createControls();
    applyTexts();
    placeOptions();
    setFromSettings();
    if (results.count() > 0) {
        m_max->setText(QString::number(results.count()));
        m_progress->setRange(0, results.count());
    }
    updateUsedTemplate();
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

void frmApplyTemplate::createControls()
{
    auto *modes = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        m_mode[i] = named(new QRadioButton(this), indexed("optKeepOriginalIPTC", i));
        m_mode[i]->setFixedSize(22, 24);
        m_modeCaption[i] = named(new ModeCaption(m_mode[i], this), indexed("lblKeepOriginalIPTC", i));
        modes->addButton(m_mode[i]);
        connect(m_mode[i], &QRadioButton::clicked, this, &frmApplyTemplate::modeClicked);
    }
    m_addKeywords = named(new QCheckBox(this), QStringLiteral("chkAddKeywords"));
    m_removeKeywords = named(new QCheckBox(this), QStringLiteral("chkRemoveKeywords"));
    // At most one keyword option: ticking one unticks the other.
    connect(m_addKeywords, &QCheckBox::clicked, this, [this](bool on) { if (on) m_removeKeywords->setChecked(false); });
    connect(m_removeKeywords, &QCheckBox::clicked, this, [this](bool on) { if (on) m_addKeywords->setChecked(false); });
    m_template = named(new QLabel(this), QStringLiteral("lblTemplate"));
    m_template->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_templates = named(new QPushButton(this), QStringLiteral("cmdDefineTemplates"));
    connect(m_templates, &QPushButton::clicked, this, [this] {
        m_openTemplates();
        updateUsedTemplate();
    });
    createProgressControls();
}

void frmApplyTemplate::createProgressControls()
{
    m_processedLabel = named(new QLabel(this), QStringLiteral("lblProcessed"));
    m_processedLabel->hide();
    m_status = named(new QLabel(this), QStringLiteral("lblStatus"));
    // Two lines: the count of a run that stopped early says what was left.
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_min = named(new QLabel(QStringLiteral("0"), this), QStringLiteral("lblMin"));
    m_progress = named(new QProgressBar(this), QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_max = named(new QLabel(this), QStringLiteral("lblMax"));
    m_current = named(new QLabel(this), QStringLiteral("lblCurrent"));
    m_current->hide();
    m_notProcessedLabel = named(new QLabel(this), QStringLiteral("lblNotProcessed"));
    m_notProcessed = named(new QTreeWidget(this), QStringLiteral("lstNotProcessed"));
    m_notProcessed->setRootIsDecorated(false);
    m_notProcessed->setColumnCount(2);
    m_notProcessed->setColumnWidth(0, 300);
    m_notProcessed->header()->setStretchLastSection(true);
    m_preview = named(new QLabel(this), QStringLiteral("imgDest"));
    m_preview->setAlignment(Qt::AlignCenter);
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_stop = named(new QPushButton(this), QStringLiteral("cmdCancelProcess"));
    m_stop->hide();
    m_cancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    connect(m_ok, &QPushButton::clicked, this, &frmApplyTemplate::run);
    connect(m_stop, &QPushButton::clicked, this, &frmApplyTemplate::stop);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmApplyTemplate::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(InterfaceText::ApplyTemplateMenuItem)));
    const InterfaceText modes[] = {InterfaceText::MergeKeepOriginalOption, InterfaceText::MergeOverwriteNonEmptyOption,
                                   InterfaceText::MergeOverwriteAllOption};
    for (int i = 0; i < 3; ++i) {
        m_modeCaption[i]->setText(pack.text(modes[i]));
        m_mode[i]->setAccessibleName(withoutAccelerator(pack.text(modes[i])));
    }
    m_addKeywords->setText(pack.text(InterfaceText::AddTemplateKeywordsOption));
    m_removeKeywords->setText(pack.text(InterfaceText::RemoveTemplateKeywordsOption));
    m_notProcessedLabel->setText(pack.text(InterfaceText::NotProcessedLabel));
    m_notProcessed->setHeaderLabels(
        {pack.text(InterfaceText::NotProcessedImageHeader), pack.text(InterfaceText::NotProcessedReasonHeader)});
    m_processedLabel->setText(pack.text(InterfaceText::CurrentImageLabel));
    m_cancel->setText(pack.text(InterfaceText::CancelButton));
    m_stop->setText(pack.text(InterfaceText::StopButton));
    m_templates->setText(withoutAccelerator(pack.text(InterfaceText::DefineTemplatesMenuItem)));
}

// The options take the height their captions need in this language; the list of the images not
// processed takes what the window gains.
void frmApplyTemplate::placeOptions()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    for (int i = 0; i < 3; ++i) {
        auto *mode = new QHBoxLayout;
        mode->addWidget(m_mode[i], 0, Qt::AlignTop);
        mode->addWidget(m_modeCaption[i], 1);
        layout->addLayout(mode);
    }
    for (QCheckBox *box : {m_addKeywords, m_removeKeywords}) {
        auto *row = new QHBoxLayout;
        row->addSpacing(22);
        row->addWidget(box, 1);
        layout->addLayout(row);
    }
    layout->addSpacing(6);
    auto *templates = new QHBoxLayout;
    m_template->setMinimumHeight(64);
    templates->addWidget(m_template, 1);
    m_templates->setMinimumSize(188, 30);
    templates->addWidget(m_templates, 0, Qt::AlignTop);
    layout->addLayout(templates);
    placeProgress(layout);
    auto *buttons = buttonsAtRight({m_ok, m_stop, m_cancel}, 90, 30);
    layout->addLayout(buttons);
    resize(QSize(720, 582).expandedTo(sizeHint()));
}

// The count, the bar with its ends, the image on its way, and the list of the images not processed
// beside the last thumbnail written.
void frmApplyTemplate::placeProgress(QVBoxLayout *layout)
{
    layout->addWidget(m_processedLabel);
    m_status->setMinimumHeight(44);
    layout->addWidget(m_status);
    auto *bar = new QGridLayout;
    bar->setHorizontalSpacing(4);
    m_min->setMinimumWidth(40);
    m_max->setMinimumWidth(60);
    bar->addWidget(m_min, 0, 0);
    bar->addWidget(m_progress, 0, 1);
    bar->addWidget(m_max, 0, 2);
    bar->addWidget(m_current, 1, 1);
    bar->setColumnStretch(1, 1);
    layout->addLayout(bar);
    layout->addWidget(m_notProcessedLabel);
    auto *list = new QHBoxLayout;
    list->setSpacing(16);
    m_notProcessed->setMinimumSize(560, 140);
    list->addWidget(m_notProcessed, 1);
    m_preview->setFixedSize(120, 80);
    list->addWidget(m_preview, 0, Qt::AlignTop);
    layout->addLayout(list, 1);
}

void frmApplyTemplate::setFromSettings()
{
    const AppSettings &s = m_context.settings;
    int mode = s.applyTemplateOption >= 0 && s.applyTemplateOption <= 2 ? s.applyTemplateOption : 0;
    // The mode that empties fields is chosen anew each time, never carried over from the last run.
    if (mode == 2)
        mode = s.applyTemplateNonClearingOption == 1 ? 1 : 0;
    m_mode[mode]->setChecked(true);
    m_addKeywords->setChecked(s.addKeywordsOption);
    m_removeKeywords->setChecked(s.removeKeywordsOption && !s.addKeywordsOption);
    modeClicked();
}

void frmApplyTemplate::modeClicked()
{
    const bool all = m_mode[2]->isChecked();
    for (QCheckBox *box : {m_addKeywords, m_removeKeywords}) {
        if (all)
            box->setChecked(false);
        box->setEnabled(!all);
    }
}

void frmApplyTemplate::updateUsedTemplate()
{
    TemplateStore store(m_context.catalogue, m_feedback);
    const TemplateStore::InUse inUse = store.inUse();
    if (!inUse.ok)
        return;
    const LanguagePack &pack = m_context.language;
    QFont font = m_template->font();
    font.setBold(inUse.record.has_value());
    m_template->setFont(font);
    m_ok->setEnabled(inUse.record.has_value());
    if (!inUse.record) {
        m_template->setText(pack.text(InterfaceText::NoTemplateInUse));
        return;
    }
    const TemplateRecord &t = *inUse.record;
    m_template->setText(pack.text(InterfaceText::TemplateInUse) + u' ' + t.name + u'\n'
                        + withColon(pack, pack.text(InterfaceText::TemplateIptcCountHeader))
                        + QString::number(t.fieldCount()) + u'\n' + withColon(pack, pack.text(InterfaceText::TemplateCustomizedCountHeader))
                        + QString::number(t.customizedCount()));
}

void frmApplyTemplate::storeOptions()
{
    const int mode = m_mode[1]->isChecked() ? 1 : m_mode[2]->isChecked() ? 2 : 0;
    m_context.setSetting(&AppSettings::applyTemplateOption, mode);
    if (mode != 2)
        m_context.setSetting(&AppSettings::applyTemplateNonClearingOption, mode);
    m_context.setSetting(&AppSettings::addKeywordsOption, m_addKeywords->isChecked());
    m_context.setSetting(&AppSettings::removeKeywordsOption, m_removeKeywords->isChecked());
}

void frmApplyTemplate::setRunning(bool running)
{
    m_running = running;
    m_ok->setVisible(!running);
    m_ok->setEnabled(!running);
    m_stop->setVisible(running);
    m_current->setVisible(running);
    m_processedLabel->setVisible(running);
    for (QWidget *w : std::initializer_list<QWidget *>{m_mode[0], m_mode[1], m_mode[2], m_templates})
        w->setEnabled(!running);
    if (!running) {
        modeClicked();
        return;
    }
    m_addKeywords->setEnabled(false);
    m_removeKeywords->setEnabled(false);
}

void frmApplyTemplate::showThumbnail(const QByteArray &jpeg)
{
    QPixmap picture;
    if (!picture.loadFromData(jpeg))
        return;
    using namespace thumbnailSizing;
    const QSize twips = fitBoxTwips(picture.size() * kTwipsPerPixel);
    m_preview->setPixmap(picture.scaled(twips / kTwipsPerPixel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void frmApplyTemplate::run()
{
    m_status->clear();
    m_notProcessed->clear();
    storeOptions();
    const InterfaceText questions[] = {InterfaceText::ConfirmMergeKeepOriginal, InterfaceText::ConfirmMergeOverwriteNonEmpty,
                                       InterfaceText::ConfirmMergeOverwriteAll};
    const AppSettings &s = m_context.settings;
    if (!m_feedback.askYesNo(m_context.language.text(questions[s.applyTemplateOption]), MessageIcon::Warning))
        return;
    // Held until the run has ended: no other command rewrites these files or rows meanwhile.
    CatalogueWriteLock lock(m_context.catalogue.path);
    if (!lock.takeOrRefuse(m_feedback, m_context.language))
        return;
    m_stopRequested = false;
    setRunning(true);
    ApplyOptions options = applyOptionsFrom(m_context);
    options.locale = QLocale();
    const ThumbnailStore store = m_thumbnailStoreRoot.isEmpty() ? ThumbnailStore() : ThumbnailStore(m_thumbnailStoreRoot);
    const StoredThumbnailRenewer renewer(store);
    const bool renew = s.createThumbnails && m_context.namedStreamsAvailable;
    ApplyObserver observer;
    m_current->setText(QStringLiteral("0"));
    // The progress counts images done, not images queued for the workers: after Stop it shows
    // how far the files really are.
    int done = 0;
    observer.imageDone = [this, &done](const QString &path, const ProcessResult &result) {
        m_current->setText(QString::number(++done));
        m_progress->setValue(done);
        m_status->setText(QFileInfo(path).fileName());
        if (result.status == ProcessResult::Status::NotProcessed)
            listNotProcessed(path, result.reason);
    };
    observer.rowNotUpdated = [this](const NotProcessedImage &image) {
        listNotProcessed(image.path, m_context.language.text(InterfaceText::RowNotUpdatedReason) + u' ' + image.reason);
    };
    observer.thumbnailMade = [this](const QByteArray &jpeg) { showThumbnail(jpeg); };
    UndoJournal journal(UndoJournal::pathBeside(m_context.catalogue.path)); // "Undo last template run"
    options.journal = &journal;
    RunFeedback feedback(m_feedback, m_stopRequested);
    const ApplySummary summary =
        runApplyTemplate(m_context.catalogue, feedback, m_results.rows(), options, renew ? &renewer : nullptr, observer);
    finishRun(summary, done);
}

void frmApplyTemplate::listNotProcessed(const QString &path, const QString &reason)
{
    auto *item = new QTreeWidgetItem(m_notProcessed, {path, reason});
    // Either text may be longer than its column.
    item->setToolTip(0, path);
    item->setToolTip(1, reason);
}

// A run that went ahead leaves its account on show: the bar where the run got to, the counts of
// images written, not processed and left, and Close in place of OK. A run that never started
// (no template, a catalogue that refused) leaves the dialog as it was.
void frmApplyTemplate::finishRun(const ApplySummary &summary, int imagesDone)
{
    if (summary.noTemplate) {
        m_template->setText(m_context.language.text(InterfaceText::NoTemplateInUse));
        QFont font = m_template->font();
        font.setBold(false);
        m_template->setFont(font);
    }
    const bool cameToAll = summary.untouched == 0;
    m_progress->setValue(!summary.ran ? 0 : cameToAll ? m_progress->maximum() : std::min(imagesDone, m_progress->maximum()));
    m_status->setText(summaryText(summary));
    setRunning(false);
    if (summary.ran)
        showFinished();
    if (summary.processed > 0)
        Q_EMIT imagesRewritten(summary.processed);
}

QString frmApplyTemplate::summaryText(const ApplySummary &summary) const
{
    const LanguagePack &pack = m_context.language;
    const auto counted = [&pack](InterfaceText text, std::size_t count) {
        return countedText(pack, pack.text(text), {{u'#', qint64(count)}});
    };
    QString status = counted(InterfaceText::ImagesProcessedStatus, std::size_t(summary.processed));
    if (!summary.notProcessed.empty())
        status += u' ' + counted(InterfaceText::ImagesNotProcessedStatus, summary.notProcessed.size());
    if (!summary.rowsNotUpdated.empty())
        status += u' ' + counted(InterfaceText::RowsNotUpdatedStatus, summary.rowsNotUpdated.size());
    if (summary.untouched > 0)
        status += u' ' + counted(InterfaceText::ImagesUntouchedStatus, std::size_t(summary.untouched));
    return status;
}

// The options stay as the run used them; the only way on is Close.
void frmApplyTemplate::showFinished()
{
    m_ok->hide();
    m_ok->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{m_mode[0], m_mode[1], m_mode[2], m_addKeywords,
                                                      m_removeKeywords, m_templates})
        w->setEnabled(false);
    m_cancel->setText(m_context.language.text(InterfaceText::CloseButton));
    m_cancel->setDefault(true);
    m_cancel->setFocus();
}

// Cancel or the window's close during a run is Stop: the dialog stays to give the run's account,
// since the images already written are not taken back and the user must see how far it got.
void frmApplyTemplate::done(int result)
{
    if (m_running) {
        stop();
        return;
    }
    QDialog::done(result);
}

} // namespace zelvarion
