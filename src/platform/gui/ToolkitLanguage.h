#pragma once

#include <QLocale>

class QFileDialog;

namespace zelvarion {

// Dates, times and numbers in the given locale, and the toolkit's own texts (message-box
// buttons, file dialogs, the calendar) in its language when the system holds the toolkit's
// translations for it. Called again on every change of language; English needs none.
void useToolkitLanguage(const QLocale &locale);

// The sizes and dates of the toolkit's own file dialog (not the desktop's) in the default locale, like
// every other number of the program. Call before the dialog is shown.
void useToolkitLanguageIn(QFileDialog &dialog);

} // namespace zelvarion
