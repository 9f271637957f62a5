#pragma once

#include <QWidget>

class QLabel;

namespace zelvarion {

class IniFile;

// The full picture of the clicked image, in a window of its own beside the main window. It
// remembers where it was when it is closed in the normal state.
class frmDisplayImage : public QWidget
{
    Q_OBJECT
public:
    frmDisplayImage(const IniFile &ini, QWidget *owner);

    // Shows the image stretched to the window's width; errors leave the window as it was.
    void showImage(const QString &path, const QString &caption);

    static QRect designGeometry();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    const IniFile &m_ini;
    QLabel *DisplayedImage = nullptr;
};

} // namespace zelvarion
