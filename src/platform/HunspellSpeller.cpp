#include "platform/HunspellSpeller.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell/hunspell.hxx>

namespace zelvarion {
namespace {

QStringList dictionaryFolders(const DictionaryChoice &choice)
{
    if (!choice.folders.isEmpty())
        return choice.folders;
    QStringList folders = qEnvironmentVariable("DICPATH").split(u':', Qt::SkipEmptyParts);
    folders << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell")
            << QStringLiteral("/usr/share/myspell/dicts");
    return folders;
}

bool installed(const QString &base)
{
    return QFileInfo(base + QStringLiteral(".dic")).isFile() && QFileInfo(base + QStringLiteral(".aff")).isFile();
}

// The dictionary's words are in its own encoding ("SET" of the affix file); nearly all are UTF-8.
class HunspellSpeller : public Speller
{
public:
    HunspellSpeller(const QString &base, QString personalPath)
        : m_hunspell(QFile::encodeName(base + QStringLiteral(".aff")).constData(),
                     QFile::encodeName(base + QStringLiteral(".dic")).constData()),
          m_personalPath(std::move(personalPath))
    {
        const std::string &encoding = m_hunspell.get_dict_encoding();
        m_encoder = QStringEncoder(encoding.c_str());
        m_decoder = QStringDecoder(encoding.c_str());
        if (!m_encoder.isValid() || !m_decoder.isValid()) {
            m_encoder = QStringEncoder(QStringEncoder::Utf8);
            m_decoder = QStringDecoder(QStringDecoder::Utf8);
        }
        loadPersonalWords();
    }

    bool isCorrect(const QString &word) override { return m_hunspell.spell(encode(word)); }

    QStringList suggestions(const QString &word) override
    {
        QStringList list;
        for (const std::string &suggestion : m_hunspell.suggest(encode(word)))
            list << m_decoder.decode(QByteArrayView(suggestion.data(), qsizetype(suggestion.size())));
        return list;
    }

    void ignoreAll(const QString &word) override { m_hunspell.add(encode(word)); }

    bool addToPersonalDictionary(const QString &word) override
    {
        m_hunspell.add(encode(word));
        QFile file(m_personalPath);
        QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.close();
        if (!content.isEmpty() && !content.endsWith('\n'))
            content.append('\n');
        content.append(word.toUtf8()).append('\n');
        QDir().mkpath(QFileInfo(m_personalPath).absolutePath());
        return atomicfile::replaceFileContent(m_personalPath, content).ok;
    }

    bool usable() const { return !m_hunspell.get_dict_encoding().empty(); }

private:
    std::string encode(const QString &word)
    {
        const QByteArray bytes = m_encoder.encode(word);
        return std::string(bytes.constData(), std::size_t(bytes.size()));
    }

    // One word a line, UTF-8, as Add writes them.
    void loadPersonalWords()
    {
        QFile file(m_personalPath);
        if (!file.open(QIODevice::ReadOnly))
            return;
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QString word = QString::fromUtf8(line).trimmed();
            if (!word.isEmpty())
                m_hunspell.add(encode(word));
        }
    }

    Hunspell m_hunspell;
    QString m_personalPath;
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
};

} // namespace

QString dictionaryNameFor(const QString &languagePack)
{
    if (languagePack.compare(u"English", Qt::CaseInsensitive) == 0)
        return QStringLiteral("en_US");
    if (languagePack.compare(u"French", Qt::CaseInsensitive) == 0)
        return QStringLiteral("fr_FR");
    for (int language = QLocale::C + 1; language <= QLocale::LastLanguage; ++language) {
        const auto value = QLocale::Language(language);
        if (QLocale::languageToString(value).compare(languagePack, Qt::CaseInsensitive) == 0)
            return QLocale(value).name();
    }
    return QStringLiteral("en_US");
}

QString findDictionary(const DictionaryChoice &choice)
{
    const QString name = choice.name.isEmpty() ? dictionaryNameFor(choice.languagePack) : choice.name;
    const QStringList folders = dictionaryFolders(choice);
    for (const QString &folder : folders)
        if (installed(folder + u'/' + name))
            return folder + u'/' + name;
    const QString language = name.section(u'_', 0, 0);
    for (const QString &folder : folders) {
        QStringList candidates = QDir(folder).entryList({language + QStringLiteral("*.dic")}, QDir::Files, QDir::Name);
        for (const QString &candidate : candidates) {
            const QString base = folder + u'/' + candidate.chopped(4);
            const QString stem = candidate.chopped(4);
            if ((stem == language || stem.startsWith(language + u'_')) && installed(base))
                return base;
        }
    }
    return {};
}

std::unique_ptr<Speller> openHunspellSpeller(const DictionaryChoice &choice)
{
    const QString base = findDictionary(choice);
    if (base.isEmpty())
        return nullptr;
    QString personal = choice.personalFolder;
    if (personal.isEmpty())
        personal = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    auto speller = std::make_unique<HunspellSpeller>(
        base, personal + QStringLiteral("/personal-") + QFileInfo(base).fileName() + QStringLiteral(".dic"));
    if (!speller->usable())
        return nullptr;
    return speller;
}

} // namespace zelvarion
