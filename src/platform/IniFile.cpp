#include "platform/IniFile.h"

#include "platform/TextFile.h"

#include <QFileInfo>
#include <QStringList>

namespace zelvarion {
namespace {

// The file as its lines, so that a write changes only the line it must and keeps comments,
// blank lines, order and the spelling of every other name.
struct IniLines
{
    QStringList lines;
    QString lineBreak = QStringLiteral("\n");

    static std::optional<IniLines> load(const QString &path);
    bool save(const QString &path) const;

    // The name of a "[Section]" line, or nothing for any other line.
    static std::optional<QString> sectionName(const QString &line);
    // The key of a "key=value" line (not a comment), or nothing.
    static std::optional<QString> keyName(const QString &line);

    bool isSection(int index, const QString &section) const;
    // One past the last line of the section that starts at index.
    int sectionEnd(int index) const;
    // The line of the key in any section of that name; -1 when absent.
    int findKey(const QString &section, const QString &key) const;
    int findSection(const QString &section) const;
};

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<IniLines> IniLines::load(const QString &path)
{
    IniLines ini;
    if (!QFileInfo::exists(path))
        return ini;
    const std::optional<QString> text = readTextFile(path);
    if (!text)
        return std::nullopt; // present but unreadable: a write must not replace it blindly
    if (text->contains(QStringLiteral("\r\n")))
        ini.lineBreak = QStringLiteral("\r\n");
    QString normalised = *text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    ini.lines = normalised.split(u'\n');
    if (!ini.lines.isEmpty() && ini.lines.last().isEmpty())
        ini.lines.removeLast(); // the final line break does not start another line
    return ini;
}

bool IniLines::save(const QString &path) const
{
    QString text = lines.join(lineBreak);
    if (!lines.isEmpty())
        text += lineBreak;
    return writeTextFileAtomically(path, text);
}

std::optional<QString> IniLines::sectionName(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

std::optional<QString> IniLines::keyName(const QString &line)
{
    const QString trimmed = line.trimmed();
    const qsizetype equals = trimmed.indexOf(u'=');
    if (trimmed.startsWith(u';') || equals < 0)
        return std::nullopt;
    return trimmed.left(equals).trimmed();
}

bool IniLines::isSection(int index, const QString &section) const
{
    const std::optional<QString> name = sectionName(lines[index]);
    return name && sameName(*name, section);
}

int IniLines::sectionEnd(int index) const
{
    int end = index + 1;
    while (end < lines.size() && !sectionName(lines[end]))
        ++end;
    return end;
}

int IniLines::findSection(const QString &section) const
{
    for (int i = 0; i < lines.size(); ++i)
        if (isSection(i, section))
            return i;
    return -1;
}

// A name may appear as more than one section in a hand-edited file; they read as one.
int IniLines::findKey(const QString &section, const QString &key) const
{
    for (int i = 0; i < lines.size(); ++i) {
        if (!isSection(i, section))
            continue;
        const int end = sectionEnd(i);
        for (int k = i + 1; k < end; ++k) {
            const std::optional<QString> name = keyName(lines[k]);
            if (name && sameName(*name, key))
                return k;
        }
        i = end - 1;
    }
    return -1;
}

// A line break inside a value would split it into a stray line (or even a section header), so
// values are kept on their one line.
QString oneLine(const QString &value)
{
    QString line = value;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

std::optional<QString> IniFile::read(const QString &section, const QString &key) const
{
    const std::optional<IniLines> ini = IniLines::load(m_path);
    if (!ini)
        return std::nullopt;
    const int line = ini->findKey(section, key);
    if (line < 0)
        return std::nullopt;
    const QString &text = ini->lines[line];
    const QString value = text.mid(text.indexOf(u'=') + 1).trimmed();
    if (value.isEmpty())
        return std::nullopt;
    return value;
}

QStringList IniFile::keys(const QString &section) const
{
    const std::optional<IniLines> ini = IniLines::load(m_path);
    QStringList names;
    if (!ini)
        return names;
    for (int i = 0; i < ini->lines.size(); ++i) {
        if (!ini->isSection(i, section))
            continue;
        const int end = ini->sectionEnd(i);
        for (int k = i + 1; k < end; ++k)
            if (const std::optional<QString> name = IniLines::keyName(ini->lines[k]))
                names << *name;
        i = end - 1;
    }
    return names;
}

void IniFile::write(const QString &section, const QString &key, const QString &value) const
{
    std::optional<IniLines> ini = IniLines::load(m_path);
    if (!ini)
        return;
    const int keyLine = ini->findKey(section, key);
    if (keyLine >= 0) {
        const QString originalKey = *IniLines::keyName(ini->lines[keyLine]);
        ini->lines[keyLine] = originalKey + u'=' + oneLine(value);
    } else {
        const QString newLine = key + u'=' + oneLine(value);
        const int sectionLine = ini->findSection(section);
        if (sectionLine < 0) {
            ini->lines << u'[' + section + u']' << newLine;
        } else {
            // After the section's last non-blank line, so a blank separator stays in place.
            int insertAt = ini->sectionEnd(sectionLine);
            while (insertAt > sectionLine + 1 && ini->lines[insertAt - 1].trimmed().isEmpty())
                --insertAt;
            ini->lines.insert(insertAt, newLine);
        }
    }
    ini->save(m_path);
}

void IniFile::deleteSection(const QString &section) const
{
    replaceSection(section, {});
}

void IniFile::replaceSection(const QString &section,
                             const QList<std::pair<QString, QString>> &entries) const
{
    std::optional<IniLines> ini = IniLines::load(m_path);
    if (!ini || (entries.isEmpty() && ini->findSection(section) < 0))
        return;
    QStringList kept;
    qsizetype insertAt = -1; // where the first occurrence stood, so the file keeps its order
    for (int i = 0; i < ini->lines.size();) {
        if (ini->isSection(i, section)) {
            if (insertAt < 0)
                insertAt = kept.size();
            i = ini->sectionEnd(i);
            continue;
        }
        kept << ini->lines[i];
        ++i;
    }
    QStringList replacement;
    if (!entries.isEmpty()) {
        replacement << u'[' + section + u']';
        for (const auto &[key, value] : entries)
            replacement << key + u'=' + oneLine(value);
    }
    if (insertAt < 0)
        insertAt = kept.size();
    for (qsizetype i = 0; i < replacement.size(); ++i)
        kept.insert(insertAt + i, replacement[i]);
    ini->lines = kept;
    ini->save(m_path);
}

} // namespace zelvarion
