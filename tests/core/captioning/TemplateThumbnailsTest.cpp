// The thumbnail after a run's rewrite of the metadata: the picture's bytes are as they were, so a
// stored thumbnail made since the file last changed is kept as it is; none stored, or one older
// than that change, is made again from the new bytes.
#include "core/captioning/TemplateThumbnails.h"
#include "platform/FileNames.h"
#include "platform/ThumbnailStore.h"
#include "support/GeneratedJpeg.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

TEST(StoredThumbnailRenewer, keepsAThumbnailStoredSinceTheFileLastChangedAndRenewsOthers)
{
    TempFolder folder;
    const ThumbnailStore store(folder.file(QStringLiteral("thumbs")));
    const StoredThumbnailRenewer renewer(store);
    const QByteArray jpeg = generated::generatedJpeg(QSize(640, 480), 1, {});
    const QString path = folder.write(QStringLiteral("a.jpg"), jpeg);
    const QDateTime lastChange = QDateTime::fromSecsSinceEpoch(1'700'000'000);
    const QByteArray stored = "what was stored"; // no picture: only a kept entry gives it back
    struct Case
    {
        const char *name;
        bool hasEntry;
        int storedAfterChange; // seconds
        bool kept;
    };
    const Case cases[] = {
        {"nothing stored", false, 0, false},
        {"stored since the change", true, 60, true},
        {"stored at the change", true, 0, true},
        {"stored before the change", true, -60, false},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(store.drop(path));
        if (c.hasEntry) {
            ASSERT_TRUE(store.store(path, stored));
            ASSERT_TRUE(filenames::setLastWrite(store.entryPath(path), lastChange.addSecs(c.storedAfterChange)));
        }
        const QByteArray thumbnail = renewer.renewAfterMetadataRewrite(path, jpeg, lastChange);
        if (c.kept) {
            EXPECT_EQ(thumbnail, stored) << c.name;
        } else {
            EXPECT_TRUE(thumbnail.startsWith("\xFF\xD8")) << c.name;
            EXPECT_EQ(store.load(path), thumbnail) << c.name;
        }
    }
}
