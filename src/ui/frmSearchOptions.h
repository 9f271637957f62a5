#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zelvarion {

struct AppContext;
class Feedback;

// Where the general search looks and which way the translations go.
class frmSearchOptions : public QDialog
{
    Q_OBJECT
public:
    frmSearchOptions(AppContext &context, Feedback &feedback, QWidget *parent);

    // OK: refused with message 9 when no place to search is chosen; otherwise writes the eleven
    // settings and closes.
    void confirm();

private:
    void createControls();
    void applyTexts();
    void setFromSettings();
    void allIptcClicked();

    AppContext &m_context;
    Feedback &m_feedback;

    std::array<QCheckBox *, 3> chkSearchOptions{};
    QGroupBox *FrameSearch = nullptr;
    std::array<QCheckBox *, 7> chkSearchIPTC{};
    QGroupBox *FrameTranslation = nullptr;
    std::array<QRadioButton *, 3> optTranslation{};
    QLabel *lblNbTranslations = nullptr;
    QPushButton *cmdEditTranslations = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace zelvarion
