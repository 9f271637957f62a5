#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

namespace zelvarion {

// Told of every file rewrite that passes it in its write options, so the rewrite can be undone
// later. Called from the worker threads of a run: implementations guard their own state.
class RewriteRecorder
{
public:
    virtual ~RewriteRecorder() = default;
    // Just before the file is replaced. The new content is newHead followed by the last sharedTail
    // bytes of oldContent (a rewrite of the header leaves the picture's bytes as they were). False
    // (with the recorder's or the engine's own words in reason) leaves the file as it is: a
    // rewrite that could not be recorded could not be undone.
    virtual bool beforeRewrite(const QString &path, QByteArrayView oldContent, QByteArrayView newHead,
                               qsizetype sharedTail, const QDateTime &oldModified, QString &reason) = 0;
    // Once the new content is in place and its modification time settled.
    virtual void afterRewrite(const QString &path, qint64 newSize, const QDateTime &newModified) = 0;
    // The replacement failed after beforeRewrite: the file is as it was and nothing is to undo.
    virtual void rewriteFailed(const QString &path) { (void)path; }
};

} // namespace zelvarion
