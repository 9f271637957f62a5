#pragma once

#include <QDialog>

namespace zelvarion {

struct AppContext;

// The About box: title and version, the engine's version text, the libraries in use and the
// operating system.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    frmAbout(const AppContext &context, QWidget *parent);

    // The text shown, for tests and the command line.
    static QString aboutText(const AppContext &context);
};

} // namespace zelvarion
