#pragma once

#include "core/captioning/EditImageIptc.h"
#include "core/catalogue/TemplatesTable.h"
#include "core/search/ResultList.h"

#include <QObject>
#include <functional>
#include <vector>

class QBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace zelvarion {

struct AppContext;
class Feedback;
class LanguagePack;

// What moving to another image does with unsaved changes.
enum class UnsavedChoice { Save, Discard, Cancel };

// The edit dialog's one-image part: the image of the result on show (its rank, from 1), Previous
// and Next along the result, the note of a read-only file, and reading and writing the image's
// values (ReadIPTC on: the file's, off: the catalogue row's).
class EditImageSteps : public QObject
{
    Q_OBJECT
public:
    EditImageSteps(QWidget *dialog, QLabel *titleLabel, std::vector<ResultRow> result, int rank);

    int rank() const { return m_rank; }
    void setRank(int rank) { m_rank = rank; }
    bool readOnly() const { return m_readOnly; }
    const ResultRow &row() const { return m_result.at(std::size_t(m_rank - 1)); }
    // The nearest rank in that direction whose row still names a file; 0 when there is none.
    int neighbourRank(int step) const;

    // The image's values, its name and folder on the title label and the read-only note.
    ImageEdit load(AppContext &context, Feedback &feedback);
    // Writes the values into the file and row as one run of the undo journal; false when not saved.
    bool save(AppContext &context, Feedback &feedback, const TemplateValues &values, const QStringList &keywords,
              const QStringList &categories) const;
    void setThumbnailStoreRoot(const QString &root) { m_thumbnailStoreRoot = root; }

    // The buttons' captions, each right-aligned before OK; enabled only where there is an image
    // and no field is locked.
    void placeButtons(QBoxLayout &row, int before);
    void applyTexts(const LanguagePack &pack);
    void enableButtons(bool fieldsLocked);

    void setQuestion(std::function<UnsavedChoice()> ask) { m_ask = std::move(ask); }
    UnsavedChoice askAboutUnsavedChanges(const LanguagePack &pack);

Q_SIGNALS:
    void stepRequested(int step);

protected:
    // The title is shortened again to the room a resized dialog leaves it.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showTitle(const ResultRow &image);
    void elideTitle(const ResultRow &image);

    QWidget *m_dialog;
    QLabel *m_titleLabel;
    std::vector<ResultRow> m_result;
    int m_rank;
    bool m_readOnly = false;
    bool m_titleShown = false;
    QString m_thumbnailStoreRoot;
    std::function<UnsavedChoice()> m_ask;
    QPushButton *m_previous;
    QPushButton *m_next;
    QLabel *m_readOnlyNote;
};

} // namespace zelvarion
