#include "ui/frmProperties.h"

#include "core/search/FileSizeText.h"
#include "core/session/LanguagePack.h"
#include "core/session/PackText.h"
#include "platform/FileNames.h"
#include "ui/Controls.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvarion {
using namespace controls;

namespace {

QString permissionsText(const filenames::FileOwnership &info)
{
    const QFileDevice::Permissions p = info.permissions;
    const std::pair<QFileDevice::Permission, char> bits[] = {
        {QFileDevice::ReadOwner, 'r'}, {QFileDevice::WriteOwner, 'w'}, {QFileDevice::ExeOwner, 'x'},
        {QFileDevice::ReadGroup, 'r'}, {QFileDevice::WriteGroup, 'w'}, {QFileDevice::ExeGroup, 'x'},
        {QFileDevice::ReadOther, 'r'}, {QFileDevice::WriteOther, 'w'}, {QFileDevice::ExeOther, 'x'}};
    QString text;
    for (const auto &[bit, letter] : bits)
        text += p.testFlag(bit) ? QChar::fromLatin1(letter) : u'-';
    return text + QStringLiteral(" (") + info.owner + u':' + info.group + u')';
}

QString dateText(const QDateTime &when)
{
    return when.isValid() ? QLocale().toString(when, QLocale::ShortFormat) : QStringLiteral("-");
}

// The pixel size from the file's header, read by the name's own bytes.
QSize pixelSize(const QString &path)
{
    QFile file;
    return filenames::openForReading(file, path) ? QImageReader(&file).size() : QSize();
}

} // namespace

// The file is reached by the real bytes of its name, which need not be UTF-8.
QString filePropertiesText(const QString &path, const LanguagePack &language)
{
    const QString absolute = QFileInfo(path).absoluteFilePath(); // text only: no look at the disk
    const filenames::FileFacts facts = filenames::fileFacts(path);
    auto line = [&](InterfaceText label, const QString &value) { return withColon(language, language.text(label)) + value; };
    QStringList lines = {line(InterfaceText::DetailPathLabel, absolute),
                         line(InterfaceText::DetailSizeLabel, formatFileSize(facts.size, {language.text(InterfaceText::UnitBytes), language.text(InterfaceText::UnitKilobytes),
                                                          language.text(InterfaceText::UnitMegabytes), language.text(InterfaceText::UnitGigabytes)})),
                         line(InterfaceText::DetailCreatedLabel, dateText(facts.created)),
                         line(InterfaceText::DetailModifiedLabel, dateText(facts.lastWrite))};
    const QSize pixels = pixelSize(path);
    if (pixels.isValid()) {
        lines << line(InterfaceText::SortWidth, QString::number(pixels.width()))
              << line(InterfaceText::SortHeight, QString::number(pixels.height()));
    }
    if (const auto ownership = filenames::fileOwnership(path))
        lines << line(InterfaceText::PermissionsLabel, permissionsText(*ownership));
    return lines.join(u'\n');
}

frmProperties::frmProperties(const QString &path, const LanguagePack &language, QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(withoutAccelerator(language.text(InterfaceText::PropertiesMenuItem)) + QStringLiteral(" - ")
                   + QFileInfo(path).fileName());
    auto *layout = new QVBoxLayout(this);
    lblProperties = named(new QLabel(filePropertiesText(path, language), this), QStringLiteral("lblProperties"));
    lblProperties->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblProperties);
    cmdOK = named(new QPushButton(language.text(InterfaceText::CloseButton), this), QStringLiteral("cmdOK"));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
}

} // namespace zelvarion
