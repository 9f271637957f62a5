#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace zelvarion {

class LanguagePack;

// The catalogue's corner of the main window, beside the search panel's first two rows: the
// Database button and the image count; the catalogue's path is kept in the hidden lblDB.
class CatalogueStatus : public QWidget
{
    Q_OBJECT
public:
    explicit CatalogueStatus(QWidget *parent);

    void applyLanguage(const LanguagePack &pack);
    void showCount(long long total);
    void showPath(const QString &path);

Q_SIGNALS:
    // The Database button.
    void databaseRequested();

private:
    QPushButton *cmdDatabase = nullptr;
    QLabel *lbllblCount = nullptr, *lblCount = nullptr, *lblDB = nullptr;
};

} // namespace zelvarion
