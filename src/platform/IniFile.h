#pragma once

#include <QString>
#include <optional>

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

    // Creates the file, the section and the key as needed; replaces an existing value.
    // A failed write is not reported (the caller's in-memory value stays in force).
    void write(const QString &section, const QString &key, const QString &value) const;

    // Removes the section with all its keys.
    void deleteSection(const QString &section) const;

private:
    QString m_path;
};

} // namespace zelvarion
