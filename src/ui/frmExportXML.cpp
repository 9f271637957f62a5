#include "ui/frmExportXML.h"

#include "core/export/XslRendering.h"
#include "core/search/ResultList.h"
#include "core/session/Feedback.h"
#include "core/session/TextRules.h"
#include "platform/ThumbnailStore.h"
#include "platform/XsltEngine.h"
#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace zelvarion {
using namespace controls;

frmExportXML::frmExportXML(AppContext &context, const ResultList &results, Feedback &feedback, QWidget *parent)
    : QDialog(parent), m_context(context), m_results(results), m_feedback(feedback),
      m_folder(ExportFolder::inProgramFolder()),
      m_open([](const QString &path) { shell::openWithDefaultProgram(path); })
{
    setObjectName(QStringLiteral("frmExportXML"));
    createControls();
    createDisplayControls();
    applyTexts();
    placeControls();
    cmdExportXML->setEnabled(results.count() > 0);
    lblMax->setText(QString::number(results.count()));
    ProgressBar1->setRange(0, std::max(1, results.count()));
    m_folder.create();
    lblXMLFile->setText(m_folder.documentPath());
    const AppSettings &settings = context.settings;
    if (!settings.xmlTitle.isEmpty())
        txtXMLTitle->setText(settings.xmlTitle);
    fillStylesheetList(settings.xslFile);
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

void frmExportXML::createControls()
{
    lblTitle = named(new QLabel(this), QStringLiteral("lblTitle"));
    txtXMLTitle = named(new QLineEdit(this), QStringLiteral("txtXMLTitle"));
    for (int i = 0; i < 2; ++i)
        optThumbnails[i] = named(new QRadioButton(this), indexed("optThumbnails", i));
    optThumbnails[0]->setChecked(true);
    lblXMLFile = named(new QLabel(this), QStringLiteral("lblXMLFile"));
    lblXMLFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ProgressBar1 = named(new QProgressBar(this), QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    lblMin = named(new QLabel(QStringLiteral("0"), this), QStringLiteral("lblMin"));
    lblMax = named(new QLabel(this), QStringLiteral("lblMax"));
    lblCurrent = named(new QLabel(this), QStringLiteral("lblCurrent"));
    lblCurrent->setAlignment(Qt::AlignCenter);
    lblCurrent->hide();
    cmdExportXML = named(new QPushButton(this), QStringLiteral("cmdExportXML"));
    cmdCancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    connect(cmdExportXML, &QPushButton::clicked, this, &frmExportXML::exportDocument);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmExportXML::createDisplayControls()
{
    lblSelectXSL = named(new QLabel(this), QStringLiteral("lblSelectXSL"));
    lstXSL = named(new QComboBox(this), QStringLiteral("lstXSL"));
    cmdDisplayXML = named(new QPushButton(this), QStringLiteral("cmdDisplayXML"));
    lblDisplayMessage = named(new QLabel(this), QStringLiteral("lblDisplayMessage"));
    connect(cmdDisplayXML, &QPushButton::clicked, this, &frmExportXML::displayDocument);
}

// Fixed by design: the export above, the display of the document under it, Close at the bottom
// right; as large as the pack's captions ask. A long path is shortened by the label, not the window.
void frmExportXML::placeControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->setSpacing(4);
    auto *title = new QHBoxLayout;
    title->addWidget(lblTitle);
    title->addWidget(txtXMLTitle, 1);
    layout->addLayout(title);
    layout->addSpacing(6);
    for (QRadioButton *option : optThumbnails)
        layout->addWidget(option);
    lblXMLFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(lblXMLFile);
    auto *bar = new QHBoxLayout;
    lblMin->setMinimumWidth(26);
    lblMax->setMinimumWidth(62);
    bar->addWidget(lblMin);
    bar->addWidget(ProgressBar1, 1);
    bar->addWidget(lblMax);
    layout->addLayout(bar);
    lblCurrent->setMinimumHeight(20);
    QSizePolicy keepsItsPlace = lblCurrent->sizePolicy(); // shown during an export only
    keepsItsPlace.setRetainSizeWhenHidden(true);
    lblCurrent->setSizePolicy(keepsItsPlace);
    layout->addWidget(lblCurrent);
    cmdExportXML->setMinimumSize(160, 32);
    layout->addWidget(cmdExportXML, 0, Qt::AlignLeft);
    layout->addSpacing(10);
    layout->addWidget(lblSelectXSL);
    auto *display = new QHBoxLayout;
    lstXSL->setMinimumSize(300, 28);
    display->addWidget(lstXSL);
    cmdDisplayXML->setMinimumSize(140, 32);
    display->addWidget(cmdDisplayXML);
    display->addStretch(1);
    layout->addLayout(display);
    layout->addStretch(1);
    auto *bottom = new QHBoxLayout;
    lblDisplayMessage->setWordWrap(true);
    bottom->addWidget(lblDisplayMessage, 1);
    cmdCancel->setMinimumSize(100, 32);
    bottom->addWidget(cmdCancel, 0, Qt::AlignBottom);
    layout->addLayout(bottom);
    setFixedSize(QSize(560, 330).expandedTo(sizeHint()));
}

void frmExportXML::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(InterfaceText::ExportXmlMenuItem)));
    cmdExportXML->setText(pack.text(InterfaceText::ExportXmlMenuItem));
    cmdCancel->setText(pack.text(InterfaceText::CloseButton));
    lblTitle->setText(pack.text(InterfaceText::XmlTitleLabel));
    cmdDisplayXML->setText(pack.text(InterfaceText::DisplayXmlButton));
    lblSelectXSL->setText(pack.text(InterfaceText::XslListLabel));
    optThumbnails[0]->setText(pack.text(InterfaceText::ExportThumbnailsOption));
    optThumbnails[1]->setText(pack.text(InterfaceText::NoExportThumbnailsOption));
}

void frmExportXML::fillStylesheetList(const QString &remembered)
{
    const QStringList entries = QStringList{m_context.language.text(InterfaceText::NoXslChoice)} + stylesheetNames(m_folder);
    lstXSL->clear();
    lstXSL->addItems(entries);
    lstXSL->setCurrentIndex(rememberedStylesheetPosition(entries, remembered));
}

void frmExportXML::setBusy(bool busy)
{
    m_busy = busy;
    cmdExportXML->setEnabled(!busy && m_results.count() > 0);
    lstXSL->setEnabled(!busy);
    cmdDisplayXML->setEnabled(!busy);
    cmdCancel->setEnabled(!busy);
}

void frmExportXML::reject()
{
    if (!m_busy)
        QDialog::reject();
}

// The command line may be exporting into the folder: wait for it, saying so.
void frmExportXML::takeExportFolder(ExportFolderLock &lock)
{
    if (lock.tryAcquire())
        return;
    const QString before = lblDisplayMessage->text();
    lblDisplayMessage->setText(m_context.language.message(Message::WaitingForFormatter));
    lock.acquire([] { QCoreApplication::processEvents(); });
    lblDisplayMessage->setText(before);
}

void frmExportXML::showProgress(int rank)
{
    QCoreApplication::processEvents();
    ProgressBar1->setValue(rank);
    lblCurrent->setText(QString::number(rank));
    repaint();
}

void frmExportXML::exportDocument()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setBusy(true);
    ExportFolderLock lock(m_folder);
    takeExportFolder(lock);
    XmlExportRequest request;
    request.folder = m_folder;
    request.title = txtXMLTitle->text();
    request.copyThumbnails = optThumbnails[0]->isChecked();
    request.beforeImage = [this](int rank) { showProgress(rank); };
    request.language = &m_context.language;
    m_context.setSetting(&AppSettings::xmlTitle, trimBlanks(request.title));
    lblCurrent->setText(QStringLiteral("0"));
    lblCurrent->show();
    const ThumbnailStore store = m_thumbnailStoreRoot.isEmpty() ? ThumbnailStore() : ThumbnailStore(m_thumbnailStoreRoot);
    const XmlExportOutcome outcome = exportXml(request, m_results, m_context.catalogue, m_feedback, store);
    lblCurrent->hide();
    ProgressBar1->setValue(0);
    setBusy(false);
    QApplication::restoreOverrideCursor();
    if (outcome.written)
        m_feedback.showMessage(m_context.language.message(Message::XmlExportDone)
                                       .replace(u'#', QString::number(outcome.exported))
                                   + u'\n' + m_folder.documentPath(),
                               MessageIcon::Information);
}

void frmExportXML::displayDocument()
{
    DisplayEnvironment environment{m_feedback, m_context.language};
    environment.makeProcessor = [this] { return makeXsltProcessor(m_folder.path); };
    environment.openWithDefaultProgram = m_open;
    environment.showStatus = [this](const QString &text) {
        lblDisplayMessage->setText(text);
        lblDisplayMessage->repaint();
    };
    environment.rememberStylesheet = [this](const QString &text) { m_context.setSetting(&AppSettings::xslFile, text); };
    environment.runFormatter = m_formatter;
    lblDisplayMessage->setStyleSheet(textColourStyle(kStatusRed));
    // The formatter runs with the window's events going: nothing else may write the folder then.
    setBusy(true);
    ExportFolderLock lock(m_folder);
    takeExportFolder(lock);
    const DisplayOutcome outcome = displayXml(m_folder, lstXSL->currentText(), environment);
    if (outcome.kind == DisplayOutcome::Kind::Rendered)
        lblDisplayMessage->setStyleSheet(QStringLiteral("color: palette(highlight);"));
    setBusy(false);
}

} // namespace zelvarion
