// The language pack's texts on the main window.
#include "ui/frmZelvarion.h"

#include "core/iptc/IptcField.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace zelvarion {
namespace {

constexpr int kFirstFieldKey = 31; // interface 31 to 65: the display names of the 35 fields
constexpr int kFirstSortKey = 140; // interface 140 to 145: the sorts that precede the fields
constexpr int kLastSortKey = 145;

} // namespace

void frmZelvarion::applyLanguage()
{
    const LanguagePack &pack = m_context.language;
    auto caption = [&pack](auto *control, int key) { control->setText(pack.text(key)); };
    auto title = [&pack](QMenu *menu, int key) { menu->setTitle(pack.text(key)); };

    title(mnuFile, 1);
    caption(mnuFileExit, 2);
    title(mnuLanguages, 3);
    caption(mnuSQLQuery, 4);
    caption(mnuHelp, 5);
    caption(mnuAbout, 6);
    caption(cmdDatabase, 7);
    caption(lbllblCount, 8);
    caption(lbllblFound, 9);
    title(mnuConfiguration, 10);
    caption(cmdSearch, 11);
    caption(mnuIPTCCopy, 26);
    caption(mnuSearchOptions, 67);
    caption(lblHelp[0], 69);
    caption(lblHelp[1], 70);
    caption(lblHelp[2], 83);
    cmdErase->setToolTip(pack.text(72));
    caption(mnuStayOnTop, 73);
    caption(mnuUseThumbnails, 76);
    caption(chkWholeWord, 81);
    caption(chkRevised[0], 85);
    caption(chkRevised[1], 86);
    caption(optOrder[0], 87);
    caption(optOrder[1], 88);
    caption(chkIPTC[0], 89);
    caption(chkIPTC[1], 90);
    caption(chkIPTC[2], 138);
    caption(mnuEditIPTCOptions, 118);
    caption(lblSortedBy, 139);
    caption(lblCheckMark[0], 147);
    caption(lblCheckMark[1], 148);
    caption(mnuDisplaySelected, 149);
    caption(mnuStatistics, 150);
    title(mnuTools, 153);
    caption(mnuRemoveSelection, 157);
    caption(mnuEmptyWordsList, 158);
    caption(mnuCopyImages, 162);
    caption(mnuEditIPTC, 166);
    caption(mnuOpenImage, 167);
    caption(mnuDefineTemplates, 168);
    title(mnuTemplates, 175);
    title(mnuSelectedImages, 176);
    caption(mnuApplyTemplate, 182);
    caption(mnuDelete, 197);
    caption(mnuRename, 198);
    caption(mnuProperties, 199);
    caption(mnuExportxML, 200);
    caption(mnuSelectResult, 202);
    caption(mnuUnselectResult, 203);
    caption(mnuBase, 219);
    FrameCheckMark->setTitle(pack.text(224));
    caption(mnuSearchDoubles, 225);
    caption(chkTranslation, 226);
    caption(mnuSelections, 232);
    caption(mnuDisplayImage, 236);
    caption(optOperator[0], 237);
    caption(optOperator[1], 238);
    caption(optOperator[2], 239);
    lblHelp[3]->setText(pack.text(71) + u' ' + pack.text(223));

    lstFields->clear();
    for (int i = 0; i < kIptcFieldCount; ++i)
        lstFields->addItem(pack.text(kFirstFieldKey + i));
    const int chosenField = m_context.settings.indexFieldIPTC;
    lstFields->setCurrentIndex(chosenField >= 0 && chosenField < lstFields->count() ? chosenField : -1);

    lstSortedBy->clear();
    for (int key = kFirstSortKey; key <= kLastSortKey; ++key)
        lstSortedBy->addItem(pack.text(key));
    for (int i = 0; i < kIptcFieldCount; ++i)
        lstSortedBy->addItem(pack.text(kFirstFieldKey + i));
    lstSortedBy->setCurrentIndex(0);
}

} // namespace zelvarion
