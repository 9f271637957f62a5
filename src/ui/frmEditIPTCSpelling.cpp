// The texts of the edit dialog as the spell-check commands and the tests reach them.
#include "ui/frmEditIPTC.h"

#include "ui/EditSpellCheck.h"

namespace zelvarion {

QString frmEditIPTC::fieldText(int index) const { return m_spelling->fieldText(index); }

void frmEditIPTC::setFieldText(int index, const QString &text) { m_spelling->setFieldText(index, text); }

QStringList frmEditIPTC::listEntries(int index) const { return m_spelling->listEntries(index); }

void frmEditIPTC::setListEntry(int index, int row, const QString &text) { m_spelling->setListEntry(index, row, text); }

QString frmEditIPTC::customizedText(int row) const { return m_spelling->customizedText(row); }

void frmEditIPTC::setCustomizedText(int row, const QString &text) { m_spelling->setCustomizedText(row, text); }

void frmEditIPTC::selectTab(int tab) { m_spelling->selectTab(tab); }

void frmEditIPTC::spellCheckAll() { m_spelling->checkAll(); }

} // namespace zelvarion
