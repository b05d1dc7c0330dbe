// A site's icons, with and without a manifest of its own, and check on a site.
#include "web/webcheck.h"
#include "web/webmanifest.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

// Flutter's web/manifest.json as flutter create writes it.
const QByteArray flutterManifest = R"({
    "name": "my_app",
    "short_name": "my_app",
    "start_url": ".",
    "display": "standalone",
    "background_color": "#0175C2",
    "theme_color": "#0175C2",
    "description": "A new Flutter project.",
    "orientation": "portrait-primary",
    "prefer_related_applications": false,
    "icons": [
        {
            "src": "icons/Icon-192.png",
            "sizes": "192x192",
            "type": "image/png"
        },
        {
            "src": "icons/Icon-512.png",
            "sizes": "512x512",
            "type": "image/png"
        },
        {
            "src": "icons/Icon-maskable-192.png",
            "sizes": "192x192",
            "type": "image/png",
            "purpose": "maskable"
        },
        {
            "src": "icons/Icon-maskable-512.png",
            "sizes": "512x512",
            "type": "image/png",
            "purpose": "maskable"
        }
    ]
}
)";

QJsonObject objectOf(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

class WebIcons : public ::testing::Test {
protected:
    test::Scratch scratch;
    fs::path site = scratch / "site";
    QString art = scratch.savePng("art.png", test::gradientImage(512, 512, 60));

    test::ProgramRun web(const QStringList& more = {})
    {
        fs::create_directories(site);
        const test::ProgramRun run = test::runCli(QStringList{"web", art, test::str(site)} + more);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run;
    }
    QImage image(const char* file) const
    {
        return test::decodeFile(site / file).convertToFormat(QImage::Format_ARGB32);
    }
};

bool opaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
    return true;
}

} // namespace

TEST_F(WebIcons, aSiteWithoutAManifestGetsEveryIconAndAManifestNamingThem)
{
    const test::ProgramRun run = web();
    EXPECT_EQ(test::filesBelow(site),
              (QStringList{"apple-touch-icon.png", "favicon.ico", "icon-192.png", "icon-512.png",
                           "icon-maskable-192.png", "icon-maskable-512.png", "manifest.webmanifest"}));
    EXPECT_EQ(image("apple-touch-icon.png").size(), QSize(180, 180));
    EXPECT_TRUE(opaque(image("apple-touch-icon.png"))) << "iOS shows transparent pixels black";
    EXPECT_EQ(image("icon-512.png").size(), QSize(512, 512));
    EXPECT_EQ(image("icon-192.png").size(), QSize(192, 192));
    // A maskable icon fills its square, its art inside the central circle of 80 %.
    const QImage maskable = image("icon-maskable-512.png");
    ASSERT_EQ(maskable.size(), QSize(512, 512));
    EXPECT_TRUE(opaque(maskable));
    const QRgb fill = maskable.pixel(0, 0);
    double farthest = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            if (maskable.pixel(x, y) != fill)
                farthest = std::max(farthest, std::hypot(x + 0.5 - 256, y + 0.5 - 256));
    EXPECT_GT(farthest, 0.3 * 512) << "the art fills the circle";
    EXPECT_LE(farthest, 0.4 * 512 + 1);
    const QJsonArray icons = objectOf(test::readBytes(site / "manifest.webmanifest"))["icons"].toArray();
    ASSERT_EQ(icons.size(), 4);
    EXPECT_EQ(icons[3].toObject()["purpose"].toString(), "maskable");
    EXPECT_TRUE(run.out.contains("<link rel=\"apple-touch-icon\" href=\"/apple-touch-icon.png\">"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("<link rel=\"manifest\" href=\"/manifest.webmanifest\">"));
    EXPECT_TRUE(checkSite(site, site / "manifest.webmanifest").empty());
}

TEST_F(WebIcons, flutterSiteGetsExactlyTheIconsItsManifestNames_andTheManifestStaysByteForByte)
{
    fs::create_directories(site / "icons");
    test::writeBytes(site / "manifest.json", flutterManifest);
    test::savePngTo(site / "favicon.png", test::solidImage(16, 16, qRgb(1, 117, 194)));
    const test::ProgramRun run = web();
    EXPECT_EQ(test::readBytes(site / "manifest.json"), flutterManifest);
    EXPECT_EQ(test::filesBelow(site),
              (QStringList{"favicon.png", "icons/Icon-192.png", "icons/Icon-512.png", "icons/Icon-maskable-192.png",
                           "icons/Icon-maskable-512.png", "manifest.json"}));
    for (const auto& [file, side] : {std::pair("icons/Icon-192.png", 192), std::pair("icons/Icon-512.png", 512),
                                     std::pair("icons/Icon-maskable-192.png", 192), std::pair("favicon.png", 16)})
        EXPECT_EQ(image(file).size(), QSize(side, side)) << file;
    EXPECT_TRUE(opaque(image("icons/Icon-maskable-192.png")));
    EXPECT_FALSE(opaque(image("icons/Icon-192.png"))) << "the art as it is, transparent around";
    EXPECT_TRUE(run.out.contains("href=\"favicon.png\"")) << run.out.toStdString();
}

TEST_F(WebIcons, aManifestLackingIconsGetsOnlyTheMissingEntries_everyOtherMemberKept)
{
    const QByteArray manifest = R"({"name":"Shop","x_vendor":{"deep":[1,2,{"a":null}]},"icons":[)"
                                R"({"src":"/img/icon-192.png","sizes":"192x192","type":"image/png"},)"
                                R"({"src":"/apple-touch-icon.png","sizes":"180x180","type":"image/png"}],)"
                                R"("related_applications":[{"platform":"play","id":"com.shop"}]})";
    fs::create_directories(site);
    test::writeBytes(site / "site.webmanifest", manifest);
    web({"--manifest", test::str(site / "site.webmanifest")});
    const QByteArray after = test::readBytes(site / "site.webmanifest");
    QJsonObject before = objectOf(manifest), now = objectOf(after);
    const QJsonArray icons = now.take("icons").toArray();
    before.remove("icons");
    EXPECT_EQ(now, before) << after.toStdString();
    ASSERT_EQ(icons.size(), 3) << after.toStdString();
    EXPECT_EQ(icons[2].toObject()["sizes"].toString(), "512x512");
    EXPECT_EQ(image("img/icon-192.png").size(), QSize(192, 192));
    EXPECT_EQ(image(icons[2].toObject()["src"].toString().toUtf8().constData()).size(), QSize(512, 512));
    EXPECT_TRUE(opaque(image("apple-touch-icon.png"))) << "a touch icon wherever the manifest names it";
    // The text around the added entry is the user's, byte for byte.
    const qsizetype iconsEnd = manifest.indexOf("}],\"related") + 1;
    EXPECT_TRUE(after.startsWith(manifest.left(iconsEnd)));
    EXPECT_TRUE(after.endsWith(manifest.mid(iconsEnd)));
}

TEST_F(WebIcons, theManifestsTextIsKeptWhereverTheIconsMemberIsOrIsNot)
{
    const ManifestIcon added{"a.png", "512x512", "image/png", {}};
    const struct {
        const char* name;
        QByteArray json;
    } rows[] = {
        {"noIcons", "{\n  \"name\": \"x\"\n}\n"},
        {"emptyIcons", "{\"icons\": [], \"name\": \"x\"}"},
        {"iconsInNestedObject", "{\"other\": {\"icons\": [1]}, \"name\": \"x\"}"},
        {"keyInAString", "{\"name\": \"\\\"icons\\\": [\", \"icons\": [{\"src\": \"b.png\"}]}"},
        {"keyWithAnEscape", "{\"\\u0069cons\": [{\"src\": \"b.png\"}], \"name\": \"x\"}"},
    };
    for (const auto& row : rows) {
        const std::optional<QByteArray> result = withIcons(row.json, {added});
        ASSERT_TRUE(result) << row.name;
        const WebManifest parsed = parseManifest(*result);
        ASSERT_TRUE(parsed.error.isEmpty()) << row.name << ": " << result->toStdString();
        ASSERT_FALSE(parsed.icons.empty()) << row.name;
        EXPECT_EQ(parsed.icons.back().src, "a.png") << row.name;
        QJsonObject before = objectOf(row.json), after = objectOf(*result);
        const auto keptIcons = before.take("icons").toArray().size();
        EXPECT_EQ(after.take("icons").toArray().size(), keptIcons + 1) << row.name;
        EXPECT_EQ(after, before) << row.name;
    }
    EXPECT_FALSE(withIcons("[1, 2]", {added})) << "no manifest: nothing is made of it";
    EXPECT_FALSE(withIcons("{\"icons\": [], \"icons\": []}", {added})) << "which icons a browser takes is unsure";
}

TEST_F(WebIcons, checkFindsWhatBrowsersWouldNotTake)
{
    web();
    test::savePngTo(site / "icon-maskable-512.png", test::gradientImage(512, 512, 40)); // transparent
    test::savePngTo(site / "apple-touch-icon.png", test::gradientImage(180, 180, 20));
    test::savePngTo(site / "icon-192.png", test::gradientImage(100, 100));
    fs::remove(site / "icon-512.png");
    QStringList rules;
    for (const Finding& finding : checkSite(site, site / "manifest.webmanifest"))
        rules << finding.rule;
    rules.sort();
    EXPECT_EQ(rules, (QStringList{"maskable-alpha", "missing-file", "missing-size", "touch-icon-alpha", "wrong-size"}));
    test::writeBytes(site / "manifest.webmanifest", "{ not json");
    const std::vector<Finding> broken = checkSite(site, site / "manifest.webmanifest");
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0].rule, "bad-manifest");
    EXPECT_EQ(broken[0].severity, Finding::Severity::Error);
}
