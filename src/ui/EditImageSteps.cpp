// The edit dialog on one image of the result: reading and writing its values, and the steps
// along the result.
#include "ui/EditImageSteps.h"

#include "core/catalogue/CatalogueWriteLock.h"
#include "core/iptc/IptcWriter.h"
#include "core/session/Feedback.h"
#include "core/captioning/TemplateThumbnails.h"
#include "core/captioning/UndoJournal.h"
#include "platform/ThumbnailStore.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace zelvarion {
using namespace controls;

EditImageSteps::EditImageSteps(QWidget *dialog, QLabel *titleLabel, std::vector<ResultRow> result, int rank)
    : QObject(dialog), m_dialog(dialog), m_titleLabel(titleLabel), m_result(std::move(result)), m_rank(rank),
      m_previous(named(new QPushButton(dialog), QStringLiteral("cmdPrevious"))),
      m_next(named(new QPushButton(dialog), QStringLiteral("cmdNext"))),
      m_readOnlyNote(named(new QLabel(dialog), QStringLiteral("lblReadOnly")))
{
    for (QPushButton *button : {m_previous, m_next}) {
        button->setAutoDefault(false);
        button->setMinimumSize(90, 30);
    }
    // Between the title and the logo, in the header's row.
    m_readOnlyNote->setParent(m_titleLabel->parentWidget());
    m_readOnlyNote->setFixedWidth(330);
    m_readOnlyNote->setWordWrap(true);
    setTextColour(m_readOnlyNote, kStatusRed);
    m_readOnlyNote->hide();
    if (auto *row = qobject_cast<QBoxLayout *>(m_titleLabel->parentWidget()->layout()))
        row->insertWidget(row->indexOf(m_titleLabel) + 1, m_readOnlyNote);
    connect(m_previous, &QPushButton::clicked, this, [this] { Q_EMIT stepRequested(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { Q_EMIT stepRequested(1); });
    m_titleLabel->installEventFilter(this);
}

bool EditImageSteps::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_titleLabel && event->type() == QEvent::Resize && m_titleShown)
        elideTitle(row());
    return false;
}

// A deleted image keeps its rank, empty.
int EditImageSteps::neighbourRank(int step) const
{
    for (int rank = m_rank + step; rank >= 1 && rank <= int(m_result.size()); rank += step)
        if (!m_result[std::size_t(rank - 1)].file.isEmpty())
            return rank;
    return 0;
}

ImageEdit EditImageSteps::load(AppContext &context, Feedback &feedback)
{
    const ResultRow &image = row();
    const QString path = image.folder + image.file;
    const LanguagePack &pack = context.language;
    const QString label = context.customizedLabel();
    ImageEdit edit;
    if (context.settings.readIPTC) {
        edit = imageEditFromFile(path, label, &feedback);
    } else if (context.catalogue.openOrReport(feedback)) {
        edit = imageEditFromCatalogue(context.catalogue, feedback, image.folder, image.file).value_or(ImageEdit{});
        context.catalogue.close();
    }
    m_dialog->setWindowTitle(image.file + u' ' + pack.text(InterfaceText::EditIptcMenuItem).remove(u'&'));
    m_readOnly = isReadOnlyForIptc(path);
    m_readOnlyNote->setText(pack.text(InterfaceText::ReadOnlyImageNote));
    m_readOnlyNote->setVisible(m_readOnly);
    showTitle(image);
    return edit;
}

// The file's name over its folder, each shortened in the middle to the room the header leaves;
// the whole path is the title's tip.
void EditImageSteps::showTitle(const ResultRow &image)
{
    // Before the dialog is first shown its layouts have not yet given the header its width.
    for (QWidget *level : {m_dialog, m_titleLabel->parentWidget()})
        if (QLayout *layout = level->layout())
            layout->activate();
    elideTitle(image);
}

void EditImageSteps::elideTitle(const ResultRow &image)
{
    const QFontMetrics metrics(m_titleLabel->font());
    const int room = m_titleLabel->width();
    m_titleLabel->setText(metrics.elidedText(image.file, Qt::ElideMiddle, room) + QStringLiteral("\r\n")
                          + metrics.elidedText(image.folder, Qt::ElideMiddle, room));
    m_titleLabel->setToolTip(image.folder + image.file);
    m_titleShown = true;
}

bool EditImageSteps::save(AppContext &context, Feedback &feedback, const TemplateValues &values,
                          const QStringList &keywords, const QStringList &categories) const
{
    const ResultRow &image = row();
    const AppSettings &s = context.settings;
    const ThumbnailStore store = m_thumbnailStoreRoot.isEmpty() ? ThumbnailStore() : ThumbnailStore(m_thumbnailStoreRoot);
    const StoredThumbnailRenewer renewer(store);
    const bool renew = s.createThumbnails && context.namedStreamsAvailable;
    const QString label = context.customizedLabel();
    // Another command rewriting files or rows of this catalogue would race this save: refused.
    CatalogueWriteLock lock(context.catalogue.path);
    if (!lock.takeOrRefuse(feedback, context.language))
        return false;
    // The edit is a run of its own in the undo journal: `undo --run N` can take it back.
    UndoJournal journal(UndoJournal::pathBeside(context.catalogue.path));
    if (!journal.startRun(image.file, QStringLiteral("edit"))) {
        feedback.reportFailure({Message::CannotUseUndoJournal, {journal.path()}, journal.errorText()});
        return false;
    }
    std::optional<std::pair<QString, QString>> revision;
    if (context.catalogue.openOrReport(feedback)) {
        revision = rowRevision(context.catalogue, image.folder, image.file);
        context.catalogue.close();
    }
    IptcWriteOptions options = iptcWriteOptionsFrom(s);
    options.recorder = &journal;
    options.language = &context.language;
    ImageSaveResult saved;
    {
        const BusyCursor busy;
        saved = saveImageIptc(context.catalogue, feedback, image.folder, image.file,
                              imageEditFrom(values, keywords, categories), options,
                              label, renew ? &renewer : nullptr, QLocale());
    }
    if (saved.saved && revision)
        journal.noteOldRevision(image.folder + image.file, revision->first, revision->second);
    journal.finishRun();
    return saved.saved;
}

void EditImageSteps::placeButtons(QBoxLayout &row, int before)
{
    row.insertWidget(before, m_previous);
    row.insertWidget(before + 1, m_next);
}

void EditImageSteps::applyTexts(const LanguagePack &pack)
{
    m_previous->setText(pack.text(InterfaceText::PreviousImageButton));
    m_next->setText(pack.text(InterfaceText::NextImageButton));
}

void EditImageSteps::enableButtons(bool fieldsLocked)
{
    m_previous->setEnabled(!fieldsLocked && neighbourRank(-1) > 0);
    m_next->setEnabled(!fieldsLocked && neighbourRank(1) > 0);
}

UnsavedChoice EditImageSteps::askAboutUnsavedChanges(const LanguagePack &pack)
{
    if (m_ask)
        return m_ask();
    const QString text = pack.message(Message::SaveImageChangesQuestion);
    const auto answer = QMessageBox::question(m_dialog, m_dialog->windowTitle(), text,
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Save);
    return answer == QMessageBox::Save ? UnsavedChoice::Save
           : answer == QMessageBox::Discard ? UnsavedChoice::Discard : UnsavedChoice::Cancel;
}

} // namespace zelvarion
