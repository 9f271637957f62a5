#include "platform/gui/ToolkitLanguage.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace zelvarion {
namespace {

// The toolkit's file icon provider asks for "Folder" and "Drive" under a context of its own,
// while the system's catalogues still hold them under the file dialog's: asked there instead.
class MovedContextTranslator : public QTranslator
{
public:
    explicit MovedContextTranslator(const QTranslator &catalogue) : m_catalogue(catalogue) {}
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        const QString own = m_catalogue.translate(context, sourceText, disambiguation, n);
        return own.isEmpty() ? m_catalogue.translate("QFileDialog", sourceText, nullptr, n) : own;
    }

private:
    const QTranslator &m_catalogue;
};

// The translators of the toolkit's texts, replaced at each change of language.
struct Installed
{
    std::unique_ptr<QTranslator> catalogue;
    std::unique_ptr<MovedContextTranslator> moved;
};

Installed &installed()
{
    static Installed translators;
    return translators;
}

// The file model writes sizes and dates in the system's locale, which need not be the language
// chosen in the program: those two columns are written again in the default locale.
class LocaleColumnsModel : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == kSizeColumn && !files->isDir(source))
            return QLocale().formattedDataSize(files->size(source));
        if (index.column() == kDateColumn)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kSizeColumn = 1;
    static constexpr int kDateColumn = 3;
};

} // namespace

void useToolkitLanguage(const QLocale &locale)
{
    QLocale::setDefault(locale);
    Installed &current = installed();
    if (current.catalogue) {
        QCoreApplication::removeTranslator(current.moved.get());
        QCoreApplication::removeTranslator(current.catalogue.get());
        current = {};
    }
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return;
    auto translator = std::make_unique<QTranslator>();
    // "qtbase_fr.qm" of the system's translations; "qt_fr" gathers it with the other modules.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)
        || translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"), folder)) {
        auto moved = std::make_unique<MovedContextTranslator>(*translator);
        QCoreApplication::installTranslator(translator.get());
        QCoreApplication::installTranslator(moved.get());
        current = {std::move(translator), std::move(moved)};
    }
}

void useToolkitLanguageIn(QFileDialog &dialog)
{
    dialog.setProxyModel(new LocaleColumnsModel(&dialog));
}

} // namespace zelvarion
