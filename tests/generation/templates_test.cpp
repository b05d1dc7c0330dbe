#include "generation/appiconset.h"
#include "generation/catalogwriter.h"
#include "generation/imageset.h"
#include "generation/localtaskqueues.h"

#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

QJsonObject contentsOf(const fs::path& set)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(test::readBytes(set / "Contents.json"), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

// Every image slot names a written file whose pixels are its size in points times its scale.
void expectSlotsMatchFiles(const fs::path& set, const QJsonObject& contents, bool squareSizes)
{
    EXPECT_EQ(contents[QStringLiteral("info")].toObject()[QStringLiteral("version")].toInt(), 1);
    EXPECT_FALSE(contents[QStringLiteral("info")].toObject()[QStringLiteral("author")].toString().isEmpty());
    for (const QJsonValue& value : contents[QStringLiteral("images")].toArray()) {
        const QJsonObject slot = value.toObject();
        const QString file = slot[QStringLiteral("filename")].toString();
        const QImage image = test::decodeFile(set / file.toStdString());
        ASSERT_FALSE(image.isNull()) << file.toStdString() << " is named but not written";
        const double scale = slot[QStringLiteral("scale")].toString().chopped(1).toDouble();
        ASSERT_GT(scale, 0) << file.toStdString();
        if (squareSizes) {
            const QStringList size = slot[QStringLiteral("size")].toString().split(QLatin1Char('x'));
            ASSERT_EQ(size.size(), 2);
            EXPECT_EQ(image.width(), qRound(size[0].toDouble() * scale)) << file.toStdString();
            EXPECT_EQ(image.height(), qRound(size[1].toDouble() * scale)) << file.toStdString();
        }
    }
}

} // namespace

TEST(Templates, appIconContents_describesEveryIPhoneAndIPadSlotWithWrittenFiles)
{
    QTemporaryDir dir;
    const fs::path root(dir.path().toStdString());
    LocalTaskQueues queues;
    makeAppIconSet(makeImage(test::gradientImage(256, 256, 8)),
                   [root](std::optional<RenderedImages> images, std::optional<QString> message) {
                       writeAppIconSet(images, message, root);
                   },
                   queues);
    ASSERT_TRUE(queues.runUntilIdle(std::chrono::seconds(60)));

    const fs::path set = root / "Quorva" / "icon" / "iOS" / "AppIcon.appiconset";
    const QJsonObject contents = contentsOf(set);
    expectSlotsMatchFiles(set, contents, true);

    QSet<QString> described;
    for (const QJsonValue& value : contents[QStringLiteral("images")].toArray()) {
        const QJsonObject slot = value.toObject();
        described.insert(slot[QStringLiteral("idiom")].toString() + QLatin1Char(' ') + slot[QStringLiteral("size")].toString()
                     + QLatin1Char(' ') + slot[QStringLiteral("scale")].toString());
    }
    QSet<QString> needed;
    for (const char* pt : {"20x20", "29x29", "40x40", "60x60"})
        for (const char* scale : {"2x", "3x"})
            needed.insert(QStringLiteral("iphone %1 %2").arg(QLatin1String(pt), QLatin1String(scale)));
    for (const char* pt : {"20x20", "29x29", "40x40", "76x76"})
        for (const char* scale : {"1x", "2x"})
            needed.insert(QStringLiteral("ipad %1 %2").arg(QLatin1String(pt), QLatin1String(scale)));
    needed.insert(QStringLiteral("ipad 83.5x83.5 2x"));
    needed.insert(QStringLiteral("ios-marketing 1024x1024 1x"));
    EXPECT_EQ(described, needed);
}

TEST(Templates, imageSetContents_namesTheThreeScales)
{
    QTemporaryDir dir;
    const fs::path root(dir.path().toStdString());
    LocalTaskQueues queues;
    makeImageSet(makeImage(test::gradientImage(90, 60)),
                 [root](std::optional<RenderedImages> images, std::optional<QString> message) {
                     writeImageSet(images, message, root, [] { return QStringLiteral("logo"); });
                 },
                 queues);
    ASSERT_TRUE(queues.runUntilIdle(std::chrono::seconds(60)));

    const fs::path set = root / "Quorva" / "asset" / "iOS" / "logo.imageset";
    const QJsonObject contents = contentsOf(set);
    expectSlotsMatchFiles(set, contents, false);
    QStringList files;
    for (const QJsonValue& value : contents[QStringLiteral("images")].toArray()) {
        EXPECT_EQ(value.toObject()[QStringLiteral("idiom")].toString(), QStringLiteral("universal"));
        files << value.toObject()[QStringLiteral("filename")].toString();
    }
    EXPECT_EQ(files, (QStringList{QStringLiteral("asset@1x.png"), QStringLiteral("asset@2x.png"),
                                  QStringLiteral("asset@3x.png")}));
    EXPECT_EQ(test::decodeFile(set / "asset@1x.png").size(), QSize(30, 20));
    EXPECT_EQ(test::decodeFile(set / "asset@2x.png").size(), QSize(60, 40));
}
