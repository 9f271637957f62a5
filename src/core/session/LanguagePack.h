#pragma once

#include "core/session/LanguageKeys.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>

namespace zelvarion {

// A text of the command line by its name in a pack's "[CommandLine]" section ("export.--json"),
// with the English printed when the pack has none.
struct NamedText
{
    const char *key;
    const char *english;
};

// Interface texts keyed 1 to 500 and message texts keyed 1 to 500, read from a ".lng" file of the
// language folder, and the command line's own texts keyed by name ("export.--json", "usage") in its
// "[CommandLine]" section. Loading never clears: a key the new pack does not set keeps its old text.
class LanguagePack
{
public:
    static constexpr int kInterfaceKeys = 500;
    static constexpr int kMessageKeys = 500;

    // Interface text K (1..500); empty for a key out of range.
    QString text(int key) const;
    // Message text K (1..500); empty for a key out of range.
    QString message(int key) const;
    QString text(InterfaceText key) const { return text(int(key)); }
    QString message(Message key) const { return message(int(key)); }

    // The command line's text of that name; `english` when the pack has none (an older or
    // user-made pack), so a missing key never prints an empty line.
    QString commandLineText(const QString &key, const QString &english) const;
    QString commandLineText(const NamedText &text) const
    {
        return commandLineText(QLatin1String(text.key), QString::fromUtf8(text.english));
    }
    // The names the "[CommandLine]" sections read so far set.
    QStringList commandLineKeys() const { return m_commandLine.keys(); }

    void setText(int key, const QString &value);
    void setMessage(int key, const QString &value);

    // Interface 1 "&File", interface 2 "&Exit", message 1 "User-defined".
    void setBuiltInDefaults();

    // The English texts built into the program, read before any pack of the language folder: a
    // program folder without packs, or a pack that lacks a key, still shows readable texts.
    void loadShippedEnglish();

    // Applies the "[Interface]", "[Messages]" and "[CommandLine]" entries of a pack's text. In the
    // last, "\n" starts a new line and "\\" is one backslash; a line beginning with ";" is a comment.
    void parse(const QString &content);

    // The path of the file last asked for (language folder + name + ".lng").
    const QString &filePath() const { return m_filePath; }

    // Built-in defaults, then the pack file when it exists: the exact name, or else a file of the
    // folder whose name differs only in case. False when no file was read.
    bool load(const QString &languageFolder, const QString &language);

private:
    std::array<QString, kInterfaceKeys + 1> m_interface;
    std::array<QString, kMessageKeys + 1> m_messages;
    QHash<QString, QString> m_commandLine;
    QString m_filePath;
};

// The built-in defaults and the English pack built into the program, read once: the words of a
// feedback no window or command gave a pack.
const LanguagePack &shippedEnglishPack();

// Names of the extra packs for the Language menu: "*.lng" files of the folder sorted by name
// (the file system gives no stable order), without "English.lng" (any case), at most ten, each
// without its last four characters. A missing folder gives an empty list.
QStringList listExtraLanguages(const QString &languageFolder);

// The name a pack gives its language in that language ("Français"), for the Language menu; the
// file's name when the pack gives none.
QString languageOwnName(const QString &languageFolder, const QString &language);

// Turns every two-character sequence backslash-n into a line break.
QString withLineBreaks(const QString &text);

// A caption as shown where accelerators are not drawn (window titles, labels, message texts):
// a single "&" is dropped, "&&" becomes one "&".
QString withoutAccelerator(const QString &caption);

} // namespace zelvarion
