#pragma once

#include <QLocale>

namespace zelvarion {

// Dates, times and numbers in the given locale, and the toolkit's own texts (message-box
// buttons, file dialogs, the calendar) in its language when the system holds the toolkit's
// translations for it. Called again on every change of language; English needs none.
void useToolkitLanguage(const QLocale &locale);

} // namespace zelvarion
