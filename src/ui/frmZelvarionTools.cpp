// The export and analysis commands of the Tools menu: the XML export dialog, the non-modal word
// statistics window (one at a time, its menu item disabled while it is open) and the empty words
// dialog.
#include "ui/frmZelvarion.h"

#include "ui/frmEmptyWordsList.h"
#include "ui/frmExportXML.h"
#include "ui/frmStatistics.h"

namespace zelvarion {

void frmZelvarion::openExportDialog()
{
    frmExportXML dialog(m_context, m_grid->result(), *m_feedback, this);
    dialog.exec();
}

void frmZelvarion::openEmptyWordsDialog()
{
    frmEmptyWordsList dialog(m_context, this);
    dialog.exec();
}

void frmZelvarion::openStatisticsWindow()
{
    if (m_statistics) {
        m_statistics->raise();
        m_statistics->activateWindow();
        return;
    }
    m_statistics = new frmStatistics(m_context, m_grid->result(), *m_feedback, this);
    m_menus->setCommandsEnabled({MenuCommand::Statistics}, false);
    connect(m_statistics, &frmStatistics::searchRequested, this, &frmZelvarion::searchFor);
    connect(m_statistics, &frmStatistics::closed, this, [this] {
        m_statistics = nullptr;
        m_menus->setCommandsEnabled({MenuCommand::Statistics}, true);
    });
    m_statistics->show();
}

bool frmZelvarion::isStatisticsWindowOpen() const
{
    return m_statistics != nullptr;
}

} // namespace zelvarion
