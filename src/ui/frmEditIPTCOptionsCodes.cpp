// The edit options' files of code replacements and their delimiter: the files are listed by name
// and read at once, so a code given twice (or a file that cannot be read) is told before OK.
#include "ui/frmEditIPTCOptions.h"

#include "core/captioning/CodeReplacements.h"
#include "platform/gui/ToolkitLanguage.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace zelvarion {
using namespace controls;

void frmEditIPTCOptions::createCodeControls()
{
    m_codesLabel = named(new QLabel(this), QStringLiteral("lblCodeFiles"));
    m_delimiterLabel = named(new QLabel(this), QStringLiteral("lblCodeDelimiter"));
    m_delimiter = named(new QLineEdit(this), QStringLiteral("txtCodeDelimiter"));
    m_delimiter->setMaxLength(1);
    m_delimiter->setAlignment(Qt::AlignCenter);
    // One character that cannot be part of a code: no letter, digit, blank or "#".
    m_delimiter->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\\p{L}\\p{N}\\s#]?")), this));
    m_codeFileList = named(new QLabel(this), QStringLiteral("lblCodeFileList"));
    m_chooseCodes = named(new QPushButton(this), QStringLiteral("cmdChooseCodeFiles"));
    m_clearCodes = named(new QPushButton(this), QStringLiteral("cmdClearCodeFiles"));
    m_codeProblem = named(new QLabel(this), QStringLiteral("lblCodeFileProblem"));
    m_codeProblem->setWordWrap(true);
    setTextColour(m_codeProblem, kStatusRed);
    connect(m_chooseCodes, &QPushButton::clicked, this, &frmEditIPTCOptions::addCodeFiles);
    connect(m_clearCodes, &QPushButton::clicked, this, [this] {
        m_codeFiles.clear();
        showCodeFiles();
    });
}

// The codes' label with the delimiter at the right, the list of files with its buttons under it and
// the problem line under both; the widths follow the captions of the pack.
void frmEditIPTCOptions::placeCodeControls(QVBoxLayout *layout)
{
    auto *heading = new QHBoxLayout;
    heading->addWidget(m_codesLabel, 1);
    heading->addWidget(m_delimiterLabel);
    m_delimiter->setFixedSize(42, 26);
    heading->addWidget(m_delimiter);
    layout->addLayout(heading);
    auto *files = new QHBoxLayout;
    files->addSpacing(22);
    // The list is shortened to the room it is given, so it never widens the window.
    m_codeFileList->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    files->addWidget(m_codeFileList, 1);
    for (QPushButton *button : {m_chooseCodes, m_clearCodes}) {
        button->setMinimumSize(90, 28);
        files->addWidget(button);
    }
    layout->addLayout(files);
    auto *problem = new QHBoxLayout;
    problem->addSpacing(22);
    problem->addWidget(m_codeProblem, 1);
    layout->addLayout(problem);
}

void frmEditIPTCOptions::addCodeFiles()
{
    for (const QString &file : m_chooseCodeFiles())
        if (!m_codeFiles.contains(file))
            m_codeFiles << file;
    showCodeFiles();
}

// The names, the whole paths in the tool tip; the first problem of reading them in red.
void frmEditIPTCOptions::showCodeFiles()
{
    QStringList names;
    for (const QString &file : std::as_const(m_codeFiles))
        names << QFileInfo(file).fileName();
    const QString shown = names.isEmpty() ? m_context.language.text(InterfaceText::NoCodeFiles) : names.join(QStringLiteral("; "));
    if (layout())
        layout()->activate();
    m_codeFileList->setText(m_codeFileList->fontMetrics().elidedText(shown, Qt::ElideRight, m_codeFileList->width()));
    m_codeFileList->setToolTip(m_codeFiles.join(u'\n'));
    m_clearCodes->setEnabled(!m_codeFiles.isEmpty());
    std::vector<CodeFileProblem> problems;
    CodeReplacements::load(m_codeFiles, problems);
    if (problems.empty()) {
        m_codeProblem->clear();
        m_codeProblem->setToolTip({});
        return;
    }
    // The files by name, as the list shows them; the whole paths in the tool tip.
    CodeFileProblem named = problems.front();
    m_codeProblem->setToolTip(codeFileProblemText(named, &m_context.language));
    named.file = QFileInfo(named.file).fileName();
    named.earlierFile = QFileInfo(named.earlierFile).fileName();
    m_codeProblem->setText(codeFileProblemText(named, &m_context.language));
}

QStringList frmEditIPTCOptions::askForCodeFiles()
{
    const LanguagePack &pack = m_context.language;
    QFileDialog dialog(this, pack.text(InterfaceText::CodeFilesDialogTitle));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    useToolkitLanguageIn(dialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({pack.text(InterfaceText::CodeFileFilter) + QStringLiteral(" (*.txt)"), QStringLiteral("* (*)")});
    dialog.setLabelText(QFileDialog::LookIn, pack.text(InterfaceText::FileDialogLookIn));
    dialog.setLabelText(QFileDialog::FileType, pack.text(InterfaceText::FileDialogFilesOfType));
    dialog.setLabelText(QFileDialog::Accept, pack.text(InterfaceText::FileDialogOpenButton));
    dialog.setLabelText(QFileDialog::Reject, pack.text(InterfaceText::CancelButton));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

} // namespace zelvarion
