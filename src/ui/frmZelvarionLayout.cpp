// Creation and placement of the main window's controls, and the layout rule of its resizes.
#include "ui/frmZelvarion.h"

#include "ui/Controls.h"
#include "ui/Pictures.h"
#include "ui/Twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTextEdit>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

namespace {

constexpr int kWindowWidthTwips = 10728;
constexpr int kShortWindowHeightTwips = 7356;
constexpr int kPanelMinimumTwips = 1000;
constexpr int kPanelBottomGapTwips = 50;

// Result cells: label lefts and tops in twips relative to the result frame.
constexpr int kCellLefts[] = {120, 2160, 4200, 6240, 8280};
constexpr int kCellTops[] = {1620, 3420};
constexpr int kThumbWidth = 1800;
constexpr int kThumbHeight = 1200;
constexpr int kLabelHeight = 432;



QFrame *blueLine(QWidget *parent, const QString &name)
{
    auto *line = named(new QFrame(parent), name);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    line->setStyleSheet(QStringLiteral("background-color: rgb(0, 0, 255);"));
    line->hide();
    return line;
}

} // namespace

QRect frmZelvarion::designGeometry()
{
    return {120, 80, pixels(kWindowWidthTwips), 640};
}

void frmZelvarion::createSearchControls(QWidget *central)
{
    lstTxtSearch = named(new QComboBox(central), QStringLiteral("lstTxtSearch"));
    lstTxtSearch->setEditable(true);
    lstTxtSearch->setInsertPolicy(QComboBox::NoInsert);
    lstTxtSearch->setGeometry(8, 8, 316, 26);
    cmdSearch = named(new QPushButton(QStringLiteral("Search"), central), QStringLiteral("cmdSearch"));
    cmdSearch->setGeometry(330, 7, 86, 28);
    cmdErase = named(new QToolButton(central), QStringLiteral("cmdErase"));
    cmdErase->setIcon(pictures::eraseIcon());
    cmdErase->setAutoRaise(true);
    cmdErase->setGeometry(420, 9, 24, 24);
    lbllblFound = named(new QLabel(QStringLiteral("#Found:"), central), QStringLiteral("lbllblFound"));
    lbllblFound->setGeometry(452, 12, 56, 20);
    lblFound = named(new QLabel(central), QStringLiteral("lblFound"));
    lblFound->setGeometry(508, 12, 70, 20);
    cmdDatabase = named(new QPushButton(QStringLiteral("Database"), central), QStringLiteral("cmdDatabase"));
    cmdDatabase->setGeometry(598, 7, 109, 28);

    FrameOperator = named(new QGroupBox(central), QStringLiteral("FrameOperator"));
    FrameOperator->setGeometry(8, 36, 408, 44);
    const QString operatorCaptions[] = {QStringLiteral("exact expression"), QStringLiteral("all the words"),
                                        QStringLiteral("one of the words")};
    for (int i = 0; i < 3; ++i) {
        optOperator[i] = named(new QRadioButton(operatorCaptions[i], FrameOperator), indexed("optOperator", i));
        optOperator[i]->setGeometry(10 + 132 * i, 14, 130, 22);
    }
    optOperator[0]->setChecked(true);
    chkWholeWord = named(new QCheckBox(QStringLiteral("whole word"), central), QStringLiteral("chkWholeWord"));
    chkWholeWord->setGeometry(424, 38, 170, 20);
    chkTranslation = named(new QCheckBox(QStringLiteral("automatic translation"), central),
                           QStringLiteral("chkTranslation"));
    chkTranslation->setGeometry(424, 60, 168, 20);
    lblTranslation = named(new QLabel(QStringLiteral("translation"), central), QStringLiteral("lblTranslation"));
    lblTranslation->setGeometry(594, 61, 113, 18);
    lbllblCount = named(new QLabel(QStringLiteral("#Images:"), central), QStringLiteral("lbllblCount"));
    lbllblCount->setGeometry(598, 38, 62, 20);
    lblCount = named(new QLabel(central), QStringLiteral("lblCount"));
    lblCount->setGeometry(660, 38, 50, 20);

    const QString iptcCaptions[] = {QStringLiteral("Images without IPTC informations"),
                                    QStringLiteral("Images with IPTC informations"), QStringLiteral("IPTC field...")};
    const int iptcX[] = {8, 222, 424};
    const int iptcW[] = {212, 200, 100};
    for (int i = 0; i < 3; ++i) {
        chkIPTC[i] = named(new QCheckBox(iptcCaptions[i], central), indexed("chkIPTC", i));
        chkIPTC[i]->setGeometry(iptcX[i], 86, iptcW[i], 20);
    }
    lstFields = named(new QComboBox(central), QStringLiteral("lstFields"));
    lstFields->setGeometry(526, 84, 181, 24);

    const QString revisedCaptions[] = {QStringLiteral("Informations never revised"),
                                       QStringLiteral("Informations already revised")};
    for (int i = 0; i < 2; ++i) {
        chkRevised[i] = named(new QCheckBox(revisedCaptions[i], central), indexed("chkRevised", i));
        chkRevised[i]->setGeometry(8 + 184 * i, 110, 182, 20);
    }
    const QString orderCaptions[] = {QStringLiteral("chronological order"),
                                     QStringLiteral("reverse chronological  order")};
    auto *orderGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optOrder[i] = named(new QRadioButton(orderCaptions[i], central), indexed("optOrder", i));
        optOrder[i]->setGeometry(376 + 136 * i, 110, i == 0 ? 134 : 195, 20);
        orderGroup->addButton(optOrder[i]);
    }
    lblSortedBy = named(new QLabel(QStringLiteral("Sorted by"), central), QStringLiteral("lblSortedBy"));
    lblSortedBy->setGeometry(8, 136, 70, 20);
    lstSortedBy = named(new QComboBox(central), QStringLiteral("lstSortedBy"));
    lstSortedBy->setGeometry(80, 134, 240, 24);
    auto *sortGroup = new QButtonGroup(this);
    const QString sortCaptions[] = {QStringLiteral("+"), QStringLiteral("-")};
    for (int i = 0; i < 2; ++i) {
        optSortedBy[i] = named(new QRadioButton(sortCaptions[i], central), indexed("optSortedBy", i));
        optSortedBy[i]->setGeometry(328 + 46 * i, 136, 44, 20);
        sortGroup->addButton(optSortedBy[i]);
    }
    optSortedBy[0]->setChecked(true);
}

void frmZelvarion::createResultGrid(QWidget *central)
{
    FrameImages = named(new QGroupBox(central), QStringLiteral("FrameImages"));
    FrameImages->setGeometry(8, 162, 699, 264);
    for (int i = 0; i < kCells; ++i) {
        ResultCell &cell = cells[i];
        const int left = pixels(kCellLefts[i % 5]);
        const int top = pixels(kCellTops[i / 5]);
        cell.name = named(new QLabel(FrameImages), indexed("lblImage", i));
        cell.name->setGeometry(left, top, pixels(kThumbWidth), pixels(kLabelHeight));
        cell.name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        cell.name->setWordWrap(true);
        cell.thumb = named(new QLabel(FrameImages), indexed("ImageThumb", i));
        cell.thumb->setGeometry(left, top - pixels(kThumbHeight), pixels(kThumbWidth), pixels(kThumbHeight));
        cell.thumb->setScaledContents(true);
        cell.rank = named(new QLabel(QString::number(i + 1), FrameImages), indexed("lblImageRank", i));
        cell.rank->setGeometry(left + 2, top - pixels(kThumbHeight) + 2, 36, 14);
        cell.check = named(new QLabel(FrameImages), indexed("picCheckImage", i));
        cell.check->setPixmap(pictures::checkMark(0));
        cell.check->setGeometry(left + pixels(kThumbWidth) + 2, top - pixels(kThumbHeight), 10, 10);
        cell.lineTop = blueLine(FrameImages, indexed("LineTop", i));
        cell.lineTop->setGeometry(left, top - pixels(kThumbHeight) - 3, pixels(kThumbWidth), 2);
        cell.lineDown = blueLine(FrameImages, indexed("LineDown", i));
        cell.lineDown->setGeometry(left, top + 1, pixels(kThumbWidth), 2);
    }
    QToolButton **navigation[] = {&cmdBegin, &cmdBack, &cmdForward, &cmdEnd};
    const char *names[] = {"cmdBegin", "cmdBack", "cmdForward", "cmdEnd"};
    for (int i = 0; i < 4; ++i) {
        auto *button = named(new QToolButton(FrameImages), QLatin1String(names[i]));
        button->setIcon(pictures::navigationIcon(pictures::Navigation(i)));
        button->setAutoRaise(true);
        button->setGeometry(699 - 8 - 26 * (4 - i), 2, 24, 22);
        *navigation[i] = button;
    }
    FrameHelp = named(new QFrame(FrameImages), QStringLiteral("FrameHelp"));
    FrameHelp->setGeometry(40, 40, 619, 180);
    FrameHelp->setFrameShape(QFrame::StyledPanel);
    FrameHelp->setAutoFillBackground(true);
    for (int i = 0; i < 4; ++i) {
        lblHelp[i] = named(new QLabel(FrameHelp), indexed("lblHelp", i));
        lblHelp[i]->setWordWrap(true);
        lblHelp[i]->setGeometry(16, 14 + 40 * i, 587, 36);
    }
    lblHelp[3]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void frmZelvarion::createPanelAndLegend(QWidget *central)
{
    FrameCheckMark = named(new QGroupBox(QStringLiteral("Pause key"), central), QStringLiteral("FrameCheckMark"));
    FrameCheckMark->setGeometry(430, 126, 277, 36);
    const QString legend[] = {QStringLiteral("not selected"), QStringLiteral("selected")};
    for (int i = 0; i < 2; ++i) {
        picCheck[i] = named(new QLabel(FrameCheckMark), indexed("picCheck", i));
        picCheck[i]->setPixmap(pictures::checkMark(i));
        picCheck[i]->setGeometry(10 + 132 * i, 19, 10, 10);
        lblCheckMark[i] = named(new QLabel(legend[i], FrameCheckMark), indexed("lblCheckMark", i));
        lblCheckMark[i]->setGeometry(26 + 132 * i, 14, 104, 20);
    }
    rtfIPTC = named(new QTextEdit(central), QStringLiteral("rtfIPTC"));
    rtfIPTC->setReadOnly(true);
    rtfIPTC->setGeometry(8, 430, 699, 160);
    lblDB = named(new QLabel(central), QStringLiteral("lblDB"));
    lblDB->hide();
}

// Only in the normal state: the width is fixed, a window too short for the detail panel is
// made taller again, and the panel stretches to just above the bottom edge.
void frmZelvarion::applyLayoutRule()
{
    if (!isVisible() || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const int panelTop = rtfIPTC->mapTo(this, QPoint(0, 0)).y();
    if (twips(panelTop) + kPanelMinimumTwips > twips(height())) {
        // The panel lies lower here than in the window this height was made for: a height that
        // still leaves no room would hide the panel, so the panel's minimum wins.
        const int snapped = std::max(pixels(kShortWindowHeightTwips),
                                     panelTop + pixels(kPanelMinimumTwips + kPanelBottomGapTwips));
        resize(width(), snapped);
        return;
    }
    const int h = height() - panelTop - pixels(kPanelBottomGapTwips);
    if (h > 0)
        rtfIPTC->resize(rtfIPTC->width(), h);
}

void frmZelvarion::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applyLayoutRule();
}

void frmZelvarion::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    applyLayoutRule();
}

} // namespace zelvarion
