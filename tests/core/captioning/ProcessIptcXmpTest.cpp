// A template run keeps a file's XMP in step through the one write path: exiftool's MWG reading
// shows the template's caption, and the rating beside it stays.
#include "core/iptc/JpegSegments.h"
#include "core/captioning/ProcessIptc.h"
#include "support/TempFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace zelvarion;

TEST(ProcessIptcXmp, templateRunSetsTheMirroredPropertiesAndKeepsTheOthers)
{
    const QString exiftool = QStandardPaths::findExecutable(QStringLiteral("exiftool"));
    if (exiftool.isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    const QByteArray packet(
        R"(<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">)"
        R"(<rdf:Description rdf:about="" xmlns:xmp="http://ns.adobe.com/xap/1.0/" xmlns:dc="http://purl.org/dc/elements/1.1/" xmp:Rating="2">)"
        R"(<dc:description><rdf:Alt><rdf:li xml:lang="x-default">before</rdf:li></rdf:Alt></dc:description>)"
        R"(</rdf:Description></rdf:RDF></x:xmpmeta>)");
    QByteArray file("\xFF\xD8", 2);
    file += *buildXmpSegment(packet);
    file += QByteArray("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x12\x34\xFF\xD9", 14);
    test::TempFolder folder;
    const QString path = folder.write(QStringLiteral("run.jpg"), file);

    MergeRequest request;
    request.templ.fields[kCaptionIndex] = QStringLiteral("From the template");
    request.mode = MergeMode::OverwriteNonEmpty;
    const ProcessResult result = processIptc(path, request, {}, false);
    ASSERT_EQ(result.status, ProcessResult::Status::Written) << result.reason.toStdString();

    QProcess process;
    process.start(exiftool, {QStringLiteral("-j"), QStringLiteral("-MWG:Description"), QStringLiteral("-XMP:Rating"), path});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QJsonObject tags = QJsonDocument::fromJson(process.readAllStandardOutput()).array().at(0).toObject();
    EXPECT_EQ(tags.value(QStringLiteral("Description")).toString(), QStringLiteral("From the template"));
    EXPECT_EQ(tags.value(QStringLiteral("Rating")).toInt(), 2);
}
