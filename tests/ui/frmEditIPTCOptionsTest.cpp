// Window tests of the edit options dialog, the customized field names dialog and the backup
// folder chooser.
#include "CaptioningTestSupport.h"

#include "platform/IniFile.h"
#include "ui/frmEditCustomizedFieldNames.h"
#include "ui/frmEditIPTC.h"
#include "ui/frmEditIPTCOptions.h"
#include "ui/frmFolder.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString iniValue(const CaptioningContext &c, const char *section, const QString &key)
{
    return IniFile(c.folder.file(QStringLiteral("Zelvarion.ini"))).read(QLatin1String(section), key).value_or(QStringLiteral("<none>"));
}

} // namespace

class frmEditIPTCOptionsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readFromDatabaseLocksCustomizedEditing();
    void backupControlsFollowTheirBoxAndAMissingFolderIsFlagged();
    void okWritesEveryOptionAndTheFolderChoiceOutlivesCancel();
    void theTemplateInUseIsShown();
    void folderChooserEndsThePathWithASeparator();
    void namesDialogRefusesBadNumbersAndKeepsCompleteRows();
};

void frmEditIPTCOptionsTest::readFromDatabaseLocksCustomizedEditing()
{
    CaptioningContext c;
    c.context.settings.readIPTC = false;
    c.context.settings.editCustomizedFields = true;
    frmEditIPTCOptions dialog(c.context, c.feedback);
    auto *box = control<QCheckBox>(dialog, QStringLiteral("chkEditCustomizedFields"));
    QVERIFY(control<QRadioButton>(dialog, QStringLiteral("optReadIPTC_1"))->isChecked());
    QVERIFY(!box->isChecked());
    QVERIFY(!box->isEnabled());
    QVERIFY(!c.context.settings.editCustomizedFields);
    control<QRadioButton>(dialog, QStringLiteral("optReadIPTC_0"))->click();
    QVERIFY(box->isEnabled());
    QVERIFY(!box->isChecked());
    QVERIFY(control<QPushButton>(dialog, QStringLiteral("cmdEditCustomizedFieldNames"))->isEnabled());
    box->click();
    box->click();
    QVERIFY(!control<QPushButton>(dialog, QStringLiteral("cmdEditCustomizedFieldNames"))->isEnabled());
    QVERIFY(control<QCheckBox>(dialog, QStringLiteral("chkKeepCreationDate"))->toolTip().contains(QStringLiteral("modification")));
}

void frmEditIPTCOptionsTest::backupControlsFollowTheirBoxAndAMissingFolderIsFlagged()
{
    CaptioningContext c;
    c.context.settings.saveOriginalFile = true;
    c.context.settings.saveFolder = c.folder.file(QStringLiteral("deleted/"));
    frmEditIPTCOptions dialog(c.context, c.feedback);
    QVERIFY(control<QLabel>(dialog, QStringLiteral("lblUnknownFolder"))->isVisibleTo(&dialog));
    auto *save = control<QCheckBox>(dialog, QStringLiteral("chkSaveOriginalFile"));
    save->click();
    for (const char *name : {"cmdSelectFolder", "lblSaveFolder", "optPreviousVersions_0", "optPreviousVersions_1"})
        QVERIFY2(!control<QWidget>(dialog, QLatin1String(name))->isEnabled(), name);
    save->click();
    QVERIFY(control<QWidget>(dialog, QStringLiteral("cmdSelectFolder"))->isEnabled());

    c.context.settings.saveFolder.clear();
    frmEditIPTCOptions empty(c.context, c.feedback);
    QVERIFY(!control<QLabel>(empty, QStringLiteral("lblUnknownFolder"))->isVisibleTo(&empty));
}

void frmEditIPTCOptionsTest::okWritesEveryOptionAndTheFolderChoiceOutlivesCancel()
{
    CaptioningContext c;
    const QString chosen = c.folder.file(QStringLiteral("backups/"));
    QDir().mkpath(chosen);
    {
        frmEditIPTCOptions dialog(c.context, c.feedback);
        dialog.setFolderOpener([&] { c.context.settings.saveFolder = chosen; });
        control<QCheckBox>(dialog, QStringLiteral("chkSaveOriginalFile"))->click();
        control<QPushButton>(dialog, QStringLiteral("cmdSelectFolder"))->click();
        QCOMPARE(control<QLabel>(dialog, QStringLiteral("lblSaveFolder"))->text(), chosen);
        control<QCheckBox>(dialog, QStringLiteral("chkControlLengthFields"))->click();
        control<QRadioButton>(dialog, QStringLiteral("optPreviousVersions_1"))->click();
        control<QPushButton>(dialog, QStringLiteral("cmdCancel"))->click();
    }
    QCOMPARE(c.context.settings.saveFolder, chosen); // in memory at once
    QCOMPARE(iniValue(c, "EditIPTCOptions", QStringLiteral("SaveFolder")), QStringLiteral("<none>"));
    QVERIFY(c.context.settings.controlLengthFields);

    frmEditIPTCOptions dialog(c.context, c.feedback);
    control<QCheckBox>(dialog, QStringLiteral("chkSaveOriginalFile"))->click();
    control<QCheckBox>(dialog, QStringLiteral("chkControlLengthFields"))->click();
    control<QRadioButton>(dialog, QStringLiteral("optPreviousVersions_1"))->click();
    control<QPushButton>(dialog, QStringLiteral("cmdOK"))->click();
    const std::pair<const char *, const char *> written[] = {
        {"ReadIPTC", "1"}, {"EditCustomizedFields", "1"}, {"ControlLengthFields", "0"}, {"KeepCreationDate", "1"},
        {"SaveOriginalFile", "1"}, {"SaveFirstVersion", "0"}};
    for (const auto &[key, value] : written)
        QCOMPARE(iniValue(c, "EditIPTCOptions", QLatin1String(key)), QLatin1String(value));
    QCOMPARE(iniValue(c, "EditIPTCOptions", QStringLiteral("SaveFolder")), chosen);
    QVERIFY(!c.context.settings.controlLengthFields);
    QVERIFY(!c.context.settings.saveFirstVersion);
}

void frmEditIPTCOptionsTest::theTemplateInUseIsShown()
{
    CaptioningContext c;
    frmEditIPTCOptions dialog(c.context, c.feedback);
    auto *label = control<QLabel>(dialog, QStringLiteral("lblTemplate"));
    QCOMPARE(label->text(), c.text(InterfaceText::NoTemplateInUse));
    QVERIFY(!label->font().bold());
    dialog.setTemplatesOpener([&] { c.addTemplate(QStringLiteral("Studio"), {}, true); });
    control<QPushButton>(dialog, QStringLiteral("cmdDefineTemplates"))->click();
    QCOMPARE(label->text(), QStringLiteral("Studio\r\n") + c.text(InterfaceText::TemplateInUse));
    QVERIFY(label->font().bold());
}

void frmEditIPTCOptionsTest::folderChooserEndsThePathWithASeparator()
{
    CaptioningContext c;
    const QString folder = c.folder.file(QStringLiteral("chosen"));
    QDir().mkpath(folder);
    frmFolder dialog(c.context);
    QVERIFY(dialog.selectFolder(folder));
    dialog.confirm();
    QCOMPARE(c.context.settings.saveFolder, QFileInfo(folder).canonicalFilePath() + u'/');

    c.context.settings.saveFolder = c.folder.file(QStringLiteral("gone/"));
    frmFolder reopened(c.context); // a remembered folder that is gone is passed over
    QVERIFY(reopened.selectFolder(QStringLiteral("/")));
    reopened.confirm();
    QCOMPARE(c.context.settings.saveFolder, QStringLiteral("/"));
    QVERIFY(!reopened.selectFolder(c.folder.file(QStringLiteral("none"))));
}

void frmEditIPTCOptionsTest::namesDialogRefusesBadNumbersAndKeepsCompleteRows()
{
    CaptioningContext c;
    c.context.settings.customizedFieldNames[0] = {QStringLiteral("200"), QStringLiteral("Archive")};
    auto dialog = std::make_unique<frmEditCustomizedFieldNames>(c.context);
    auto *number = control<QLineEdit>(*dialog, QStringLiteral("txtIndexCustomized_1"));
    auto *ok = control<QPushButton>(*dialog, QStringLiteral("cmdOK"));
    auto *status = control<QLabel>(*dialog, QStringLiteral("lblStatus"));
    QCOMPARE(control<QLineEdit>(*dialog, QStringLiteral("txtNameCustomized_0"))->text(), QStringLiteral("Archive"));
    QVERIFY(!control<QLabel>(*dialog, QStringLiteral("lblCustomized_1"))->isEnabled());
    for (const char *refused : {"25", "0", "abc", "-3"}) {
        number->setText(QString::fromLatin1(refused));
        leave(number);
        QCOMPARE(status->text(), QString::fromLatin1(refused) + u' ' + c.message(Message::InvalidDatasetNumber));
        QVERIFY(!ok->isEnabled());
        QVERIFY(status->font().bold());
    }
    QVERIFY(control<QLabel>(*dialog, QStringLiteral("lblCustomized_1"))->isEnabled());
    number->setText(QStringLiteral("200"));
    leave(number);
    QCOMPARE(status->text(), QStringLiteral("200 ") + c.message(Message::DatasetNumberUsed));
    number->setText(QStringLiteral("201"));
    leave(number);
    QVERIFY(status->text().isEmpty());
    QVERIFY(ok->isEnabled());
    control<QLineEdit>(*dialog, QStringLiteral("txtIndexCustomized_0"))->clear(); // 200 Archive goes
    control<QLineEdit>(*dialog, QStringLiteral("txtIndexCustomized_5"))->setText(QStringLiteral("210"));
    control<QLineEdit>(*dialog, QStringLiteral("txtNameCustomized_5"))->setText(QStringLiteral("Box"));
    ok->click();
    QCOMPARE(iniValue(c, "CustomizedFieldNames", QStringLiteral("Index5")), QStringLiteral("210"));
    QCOMPARE(iniValue(c, "CustomizedFieldNames", QStringLiteral("Index1")), QStringLiteral("<none>")); // no name
    QCOMPARE(iniValue(c, "CustomizedFieldNames", QStringLiteral("Name0")), QStringLiteral("<none>"));
    QVERIFY(c.context.settings.customizedFieldNames[0].index.isEmpty());
    QVERIFY(c.context.settings.customizedFieldNames[1].index.isEmpty());

    TemplateValues values;
    values.customized[0] = {QStringLiteral("200"), QStringLiteral("x")};
    c.addTemplate(QStringLiteral("T"), values);
    frmEditIPTC editor(c.context, c.feedback, QStringLiteral("T"));
    QCOMPARE(control<QLabel>(editor, QStringLiteral("lblCustomized_0"))->text(), c.text(InterfaceText::CustomizedFieldLabel));
}

QTEST_MAIN(frmEditIPTCOptionsTest)
#include "frmEditIPTCOptionsTest.moc"
