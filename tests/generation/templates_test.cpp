#include "generation/appiconset.h"
#include "generation/catalogwriter.h"
#include "generation/imageset.h"
#include "generation/localtaskqueues.h"

#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

// Each slot of the set's Contents.json, as "idiom size scale", after checking that it names a
// written file whose pixels are its size in points times its scale.
QStringList slotsOf(const fs::path& set)
{
    QJsonParseError error;
    const QJsonObject contents = QJsonDocument::fromJson(test::readBytes(set / "Contents.json"), &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(contents["info"].toObject()["version"].toInt(), 1);
    QStringList found;
    for (const QJsonValue& value : contents["images"].toArray()) {
        const QJsonObject slot = value.toObject();
        const QString file = slot["filename"].toString();
        const QSize pixels = test::pixelSize(set / file.toStdString());
        const double scale = slot["scale"].toString().chopped(1).toDouble();
        const QStringList points = slot["size"].toString().split('x');
        if (points.size() == 2)
            EXPECT_EQ(pixels, QSize(qRound(points[0].toDouble() * scale), qRound(points[1].toDouble() * scale)))
                << file.toStdString();
        else
            EXPECT_FALSE(pixels.isEmpty()) << file.toStdString() << " is named but not written";
        found << slot["idiom"].toString() + ' ' + slot["size"].toString() + ' ' + slot["scale"].toString();
    }
    found.sort();
    return found;
}

} // namespace

TEST(Templates, nameTheWrittenFiles_withEveryIPhoneAndIPadSlotOfTheIconSet)
{
    test::Scratch scratch;
    LocalTaskQueues queues;
    makeAppIconSet(makeImage(test::gradientImage(256, 256, 8)),
                   [&](std::optional<RenderedImages> images, std::optional<QString> message) {
                       writeAppIconSet(images, message, scratch.root);
                   },
                   queues);
    makeImageSet(makeImage(test::gradientImage(90, 60)),
                 [&](std::optional<RenderedImages> images, std::optional<QString> message) {
                     writeImageSet(images, message, scratch.root, [] { return QStringLiteral("logo"); });
                 },
                 queues);
    ASSERT_TRUE(queues.runUntilIdle(std::chrono::seconds(60)));

    QStringList needed = {"ipad 83.5x83.5 2x", "ios-marketing 1024x1024 1x"};
    for (const char* points : {"20x20", "29x29", "40x40", "60x60", "76x76"}) {
        for (const char* scale : {"1x", "2x", "3x"}) {
            if (QLatin1String(points) != "76x76" && QLatin1String(scale) != "1x")
                needed << QStringLiteral("iphone %1 %2").arg(points, scale);
            if (QLatin1String(points) != "60x60" && QLatin1String(scale) != "3x")
                needed << QStringLiteral("ipad %1 %2").arg(points, scale);
        }
    }
    needed.sort();
    EXPECT_EQ(slotsOf(scratch / "Quorva/icon/iOS/AppIcon.appiconset"), needed);
    EXPECT_EQ(slotsOf(scratch / "Quorva/asset/iOS/logo.imageset"),
              (QStringList{"universal  1x", "universal  2x", "universal  3x"}));
}
