#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zelvarion {

class LanguagePack;

// The properties of an image file where no file manager shows them: path, size, dates, pixel
// size and permissions.
class frmProperties : public QDialog
{
    Q_OBJECT
public:
    frmProperties(const QString &path, const LanguagePack &language, QWidget *owner);

private:
    QLabel *lblProperties = nullptr; // the facts, one a line
    QPushButton *cmdOK = nullptr;
};

// The facts shown, one "label: value" a line; also for tests.
QString filePropertiesText(const QString &path, const LanguagePack &language);

} // namespace zelvarion
