#include "core/session/LanguagePack.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace zelvarion {
namespace {

const QString kPackExtension = QStringLiteral(".lng");

enum class Section { None, Interface, Messages, CommandLine };

// A section header is the whole stripped line; only these exact spellings are used.
Section sectionOf(const QString &header)
{
    if (header == u"[Interface]")
        return Section::Interface;
    if (header == u"[Messages]")
        return Section::Messages;
    if (header == u"[CommandLine]")
        return Section::CommandLine;
    return Section::None;
}

// A command line text may show a backslash sequence itself (how names are escaped: "\\n"), so
// there "\\" stands for a backslash; "\n" is a line break as in the numbered sections.
QString unescapedCommandLineText(const QString &text)
{
    if (!text.contains(u'\\'))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (text[i] == u'\\' && (next == u'\\' || next == u'n')) {
            result += next == u'n' ? QChar(u'\n') : next;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

// A key that is not a number counts as 0; a number is rounded to a whole one. Values far outside
// every key range are mapped to 0 before rounding so that lround never overflows.
int entryKey(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 1.0e6)
        return 0;
    return static_cast<int>(std::lround(value));
}

bool isPackHeader(const QString &line)
{
    return line.startsWith(u'[') && line.endsWith(u']');
}

// Case-insensitive order with a case-sensitive tie-break, so the listing is stable whatever
// order the file system returns.
bool nameLess(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

QString withTrailingSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + u'/';
}

// The pack file of a language: the exact name when it exists, otherwise a file of the folder
// whose name matches without regard to case (packs copied from systems that ignore case).
QString findPackFile(const QString &folder, const QString &fileName)
{
    const QString exact = withTrailingSeparator(folder) + fileName;
    if (QFileInfo(exact).isFile())
        return exact;
    QStringList candidates = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    std::sort(candidates.begin(), candidates.end(), nameLess);
    for (const QString &candidate : candidates) {
        if (candidate.compare(fileName, Qt::CaseInsensitive) == 0)
            return withTrailingSeparator(folder) + candidate;
    }
    return {};
}

} // namespace

QString LanguagePack::text(int key) const
{
    return key >= 1 && key <= kInterfaceKeys ? m_interface[key] : QString();
}

QString LanguagePack::message(int key) const
{
    return key >= 1 && key <= kMessageKeys ? m_messages[key] : QString();
}

QString LanguagePack::commandLineText(const QString &key, const QString &english) const
{
    const QString text = m_commandLine.value(key);
    return text.isEmpty() ? english : text;
}

void LanguagePack::setText(int key, const QString &value)
{
    if (key >= 1 && key <= kInterfaceKeys)
        m_interface[key] = value;
}

void LanguagePack::setMessage(int key, const QString &value)
{
    if (key >= 1 && key <= kMessageKeys)
        m_messages[key] = value;
}

void LanguagePack::setBuiltInDefaults()
{
    m_interface[1] = QStringLiteral("&File");
    m_interface[2] = QStringLiteral("&Exit");
    m_messages[1] = QStringLiteral("User-defined");
}

void LanguagePack::parse(const QString &content)
{
    Section section = Section::None;
    // Splitting on LF and stripping each line also removes the CR of CR LF line ends.
    for (const QStringView rawLine : QStringView(content).split(u'\n')) {
        const QString line = rawLine.trimmed().toString();
        if (isPackHeader(line)) {
            section = sectionOf(line);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || section == Section::None)
            continue;
        if (section == Section::CommandLine) {
            if (!line.startsWith(u';'))
                m_commandLine.insert(line.left(equals).trimmed(), unescapedCommandLineText(line.mid(equals + 1).trimmed()));
            continue;
        }
        const int key = entryKey(line.left(equals).trimmed());
        const QString value = line.mid(equals + 1).trimmed();
        if (section == Section::Interface)
            setText(key, value);
        else
            setMessage(key, value);
    }
}

void LanguagePack::loadShippedEnglish()
{
    if (const std::optional<QString> content = readTextFile(QStringLiteral(":/zelvarion/English.lng")))
        parse(*content);
}

const LanguagePack &shippedEnglishPack()
{
    static const LanguagePack pack = [] {
        LanguagePack english;
        english.setBuiltInDefaults();
        english.loadShippedEnglish();
        return english;
    }();
    return pack;
}

bool LanguagePack::load(const QString &languageFolder, const QString &language)
{
    setBuiltInDefaults();
    const QString fileName = language + kPackExtension;
    m_filePath = withTrailingSeparator(languageFolder) + fileName;
    const QString path = findPackFile(languageFolder, fileName);
    if (path.isEmpty())
        return false;
    const std::optional<QString> content = readTextFile(path);
    if (!content)
        return false;
    // The pack's name and locale say which language it is: a pack that names neither must not
    // pass for the one read before it.
    setText(int(InterfaceText::PackOwnName), QString());
    setText(int(InterfaceText::PackLocale), QString());
    parse(*content);
    return true;
}

QString languageOwnName(const QString &languageFolder, const QString &language)
{
    LanguagePack pack;
    pack.load(languageFolder, language);
    const QString own = pack.text(InterfaceText::PackOwnName);
    return own.isEmpty() ? language : own;
}

QStringList listExtraLanguages(const QString &languageFolder)
{
    constexpr int kMaxExtraLanguages = 10;
    // A missing folder lists nothing, which is what an unreadable one must give too.
    QStringList files = QDir(languageFolder).entryList({QStringLiteral("*.lng")}, QDir::Files);
    std::sort(files.begin(), files.end(), nameLess);
    QStringList languages;
    for (const QString &file : files) {
        if (file.toUpper() == u"ENGLISH.LNG")
            continue;
        languages.append(file.chopped(kPackExtension.size()));
        if (languages.size() == kMaxExtraLanguages)
            break;
    }
    return languages;
}

QString withLineBreaks(const QString &text)
{
    QString result = text;
    return result.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
}

QString withoutAccelerator(const QString &caption)
{
    QString result;
    result.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            // "&&" stands for one ampersand; a single "&" only marks the next letter.
            if (i + 1 < caption.size() && caption[i + 1] == u'&')
                ++i;
            else
                continue;
        }
        result.append(caption[i]);
    }
    return result;
}

} // namespace zelvarion
