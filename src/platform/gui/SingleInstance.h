#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QLocalServer;

namespace zelvarion {

// One running program per user and program folder. A second start asks the first to bring its
// main window forward, hands it the files it was given (Open With) and then ends without reading
// or writing anything.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);

    // True when another instance answered; it has been asked to activate its window and to show
    // `files`.
    bool activateRunningInstance(const QStringList &files = {});

    // Starts listening; activate runs whenever a later start knocks, with the files it was given.
    bool listen(std::function<void(const QStringList &files)> activate);

    // The key for the current user and program folder.
    static QString keyFor(const QString &programFolderPath);

    // What a later start sends, and the files read back from it; a request cut short gives none.
    static QByteArray request(const QStringList &files);
    static std::optional<QStringList> filesOf(const QByteArray &request);

private:
    QString m_key;
    QLocalServer *m_server = nullptr;
    std::function<void(const QStringList &)> m_activate;
};

} // namespace zelvarion
