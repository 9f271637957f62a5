#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace zelvarion {

// One running program per user and program folder. A second start asks the first to bring its
// main window forward and then ends without reading or writing anything.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);

    // True when another instance answered; it has been asked to activate its window.
    bool activateRunningInstance();

    // Starts listening; activate runs whenever a later start knocks.
    bool listen(std::function<void()> activate);

    // The key for the current user and program folder.
    static QString keyFor(const QString &programFolderPath);

private:
    QString m_key;
    QLocalServer *m_server = nullptr;
    std::function<void()> m_activate;
};

} // namespace zelvarion
