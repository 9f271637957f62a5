#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace zelvarion::test {

// A fresh folder removed at the end of the test, with helpers to lay files in it.
class TempFolder
{
public:
    TempFolder();
    QString path() const;                       // without trailing "/"
    QString file(const QString &relative) const; // path() + "/" + relative
    QString write(const QString &relative, const QByteArray &bytes) const;
    QByteArray read(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};

// A file of the shared sample set, for example "iptc/pillow/Tests/images/iptc.jpg".
QString testDataFile(const QString &relative);

} // namespace zelvarion::test
