#include "core/catalogue/VocabularyTables.h"

namespace zelvarion::vocabularyTables {
namespace {

const QString kEntries = QStringLiteral("ZelvarionVocabulary");        // field, entry, uses, folded entry
const QString kPending = QStringLiteral("ZelvarionVocabularyPending"); // list values gained or lost
const QString kFoldedIndex = QStringLiteral("ZelvarionVocabularyFolded");

// The values of an image (old or new) queued with their sign.
QString queued(const QString &row, int sign)
{
    return QStringLiteral("insert into %1(Sign,Keywords,SupplementalCategory) values(%2,%3.Keywords,%3.SupplementalCategory);")
        .arg(kPending)
        .arg(sign)
        .arg(row);
}

// Images without either list value change nothing and stay out of the queue.
QString holdsList(const QString &row)
{
    return QStringLiteral("%1.Keywords != '' or %1.SupplementalCategory != ''").arg(row);
}

} // namespace

QStringList entriesCreationStatements()
{
    // Folded may not be null: an older program, which knows no folded spelling, then fails to add
    // the queue up (and reads it instead) rather than adding entries the index would miss.
    return {QStringLiteral("create table %1(Field integer, Entry text, Uses integer, Folded text not null, "
                           "primary key(Field, Entry)) without rowid;")
                .arg(kEntries),
            QStringLiteral("create index %1 on %2(Field, Folded);").arg(kFoldedIndex, kEntries)};
}

QStringList creationStatements()
{
    const QString old = QStringLiteral("old"), now = QStringLiteral("new");
    return entriesCreationStatements() + QStringList{
        QStringLiteral("create table %1(id integer primary key, Sign integer, Keywords, SupplementalCategory);").arg(kPending),
        QStringLiteral("create trigger %1Insert after insert on Images when %2 begin %3 end;")
            .arg(kPending, holdsList(now), queued(now, 1)),
        QStringLiteral("create trigger %1Update after update of Keywords,SupplementalCategory on Images when "
                       "old.Keywords is not new.Keywords or old.SupplementalCategory is not new.SupplementalCategory "
                       "begin %2 %3 end;")
            .arg(kPending, queued(old, -1), queued(now, 1)),
        QStringLiteral("create trigger %1Delete after delete on Images when %2 begin %3 end;")
            .arg(kPending, holdsList(old), queued(old, -1)),
    };
}

QStringList dropStatements()
{
    return {QStringLiteral("drop trigger if exists %1Insert;").arg(kPending),
            QStringLiteral("drop trigger if exists %1Update;").arg(kPending),
            QStringLiteral("drop trigger if exists %1Delete;").arg(kPending),
            QStringLiteral("drop table if exists %1;").arg(kEntries),
            QStringLiteral("drop table if exists %1;").arg(kPending)};
}

QString countPartsStatement()
{
    return QStringLiteral("select count(*) from sqlite_master where name in ('%1','%2','%2Insert','%2Update','%2Delete');")
        .arg(kEntries, kPending);
}

QString countFoldedIndexStatement()
{
    return QStringLiteral("select count(*) from sqlite_master where type = 'index' and name = '%1';").arg(kFoldedIndex);
}

QString dropEntriesStatement() { return QStringLiteral("drop table %1;").arg(kEntries); }

QString countPendingStatement() { return QStringLiteral("select count(*) from %1;").arg(kPending); }

QString queuedChangesStatement()
{
    return QStringLiteral("select Sign,Keywords,SupplementalCategory from %1;").arg(kPending);
}

QString imageValuesStatement()
{
    return QStringLiteral("select 1,Keywords,SupplementalCategory from Images where %1;")
        .arg(holdsList(QStringLiteral("Images")));
}

QString unqueueStatement() { return QStringLiteral("delete from %1;").arg(kPending); }

QString addUsesStatement()
{
    return QStringLiteral("insert into %1(Field,Entry,Uses,Folded) values(?,?,?,?) "
                          "on conflict(Field,Entry) do update set Uses = Uses + excluded.Uses;")
        .arg(kEntries);
}

QString removeUnusedStatement() { return QStringLiteral("delete from %1 where Uses <= 0;").arg(kEntries); }

QString entriesStatement(int field)
{
    return QStringLiteral("select Entry,Uses from %1 where Field = %2;").arg(kEntries).arg(field);
}

QString allEntriesStatement() { return QStringLiteral("select Field,Entry,Uses from %1;").arg(kEntries); }

QString entriesBeginningStatement(int field, bool bounded)
{
    // A range of the index: the engine compares text byte by byte, which is the order of the
    // characters in UTF-8.
    return QStringLiteral("select Entry,Uses from %1 where Field = %2 and Folded >= ?1%3;")
        .arg(kEntries)
        .arg(field)
        .arg(bounded ? QStringLiteral(" and Folded < ?2") : QString());
}

} // namespace zelvarion::vocabularyTables
