#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace zelvarion {

// The classic initialisation file: "[Section]" lines, then "key=value" lines. Section and key
// names match without regard to case; a key with an empty value counts as absent. Every write
// goes to the disk at once (through a temporary file renamed over the old one). The file is
// UTF-8; a file that is not valid UTF-8 is read as Windows-1252. Values are read whole.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    // The value, or nothing when the file, section or key is missing or the value is empty.
    std::optional<QString> read(const QString &section, const QString &key) const;

    // The keys of the section in file order (those of a name repeated as several sections
    // too); none when the file or the section is missing.
    QStringList keys(const QString &section) const;

    // Creates the file, the section and the key as needed; replaces an existing value.
    // A failed write is not reported (the caller's in-memory value stays in force). Line breaks
    // inside the value are written as spaces, since they would split the value's line.
    void write(const QString &section, const QString &key, const QString &value) const;

    // Removes the section with all its keys.
    void deleteSection(const QString &section) const;

    // Deletes the section and writes it again with exactly these keys, in one write: how lists
    // kept in numbered keys are saved. No entries leaves the section deleted.
    void replaceSection(const QString &section,
                        const QList<std::pair<QString, QString>> &entries) const;

private:
    QString m_path;
};

} // namespace zelvarion
