#include "ui/frmAbout.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/session/AppInfo.h"
#include "platform/ThumbnailMaker.h"
#include "ui/AppContext.h"
#include "ui/Pictures.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace zelvarion {

QString frmAbout::aboutText(const AppContext &context)
{
    using enum InterfaceText;
    const LanguagePack &pack = context.language;
    QStringList lines;
    lines << applicationTitle()
          << pack.text(AboutDescription)
          << QString()
          << pack.text(AboutEngineLabel) + u' ' + CatalogueDb::engineVersion()
          << pack.text(AboutLibrariesLabel) + QStringLiteral(" Qt ") + QString::fromLatin1(qVersion())
                 + QStringLiteral(", ") + ThumbnailMaker::libraryVersion()
          << pack.text(AboutSystemLabel) + u' ' + context.osDescription;
    return lines.join(u'\n');
}

frmAbout::frmAbout(const AppContext &context, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(withoutAccelerator(context.language.text(InterfaceText::AboutMenuItem)));
    auto *icon = new QLabel(this);
    icon->setPixmap(pictures::applicationIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    auto *text = new QLabel(aboutText(context), this);
    text->setObjectName(QStringLiteral("lblAbout"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    // As large as its text and no larger.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace zelvarion
