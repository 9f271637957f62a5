#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelvarion::test {

TempFolder::TempFolder() : m_dir(QDir::tempPath() + QStringLiteral("/zelvarion-test-XXXXXX")) {}

QString TempFolder::path() const { return m_dir.path(); }

QString TempFolder::file(const QString &relative) const { return m_dir.path() + u'/' + relative; }

QString TempFolder::write(const QString &relative, const QByteArray &bytes) const
{
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile out(target);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
    return target;
}

QByteArray TempFolder::read(const QString &relative) const
{
    QFile in(file(relative));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

QString testDataFile(const QString &relative)
{
    return QStringLiteral(ZELVARION_TESTDATA_DIR) + u'/' + relative;
}

} // namespace zelvarion::test
