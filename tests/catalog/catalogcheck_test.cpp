// The catalog check: each rule on a catalog made to break it, hostile catalogs, and Quorva's own
// output.
#include "catalog/catalogcheck.h"

#include "testsupport.h"

#include <QColorSpace>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

QByteArray contents(const QString& images)
{
    return QStringLiteral(R"({"images":[%1],"info":{"author":"test","version":1}})").arg(images).toUtf8();
}

QString entry(const char* file, const char* idiom, const char* size, const char* scale, const char* extra = "")
{
    return QStringLiteral(R"({"filename":"%1","idiom":"%2","size":"%3","scale":"%4"%5})")
        .arg(QLatin1String(file), QLatin1String(idiom), QLatin1String(size), QLatin1String(scale),
             QLatin1String(extra));
}

// "severity rule path-inside-the-catalog" for each finding.
QStringList check(const fs::path& catalog)
{
    CatalogCheck result;
    EXPECT_FALSE(checkCatalog(catalog, result));
    QStringList found;
    const QString prefix = test::str(catalog) + QLatin1Char('/');
    for (const Finding& finding : result.findings)
        found << QStringLiteral("%1 %2 %3")
                     .arg(finding.severity == Finding::Severity::Error ? "error" : "warning", finding.rule,
                          QString(finding.path).remove(prefix));
    found.sort();
    return found;
}

class CatalogCheckTest : public ::testing::Test {
protected:
    test::Scratch scratch;
    fs::path catalog = scratch / "Assets.xcassets";
    QImage opaque = test::solidImage(120, 120, qRgb(10, 20, 30)).convertToFormat(QImage::Format_RGB32);

    void set(const std::string& name, const QByteArray& json,
             std::initializer_list<std::pair<const char*, QImage>> files = {})
    {
        fs::create_directories(catalog / name);
        test::writeBytes(catalog / name / "Contents.json", json);
        for (const auto& [file, image] : files)
            test::savePngTo(catalog / name / file, image);
    }
};

} // namespace

TEST_F(CatalogCheckTest, eachRuleIsReportedUnderItsNameAndSeverity)
{
    QImage rgba = opaque.convertToFormat(QImage::Format_ARGB32); // every pixel opaque, still RGBA
    QImage deep = opaque.convertToFormat(QImage::Format_RGBA64);
    QImage wide = opaque;
    wide.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    set("Icons/Classic.appiconset",
        contents(entry("a.png", "iphone", "60x60", "2x") + ',' + entry("big.png", "ios-marketing", "1024x1024", "1x")
                 + ',' + entry("gone.png", "iphone", "20x20", "2x") + ','
                 + entry("../../etc/passwd", "iphone", "29x29", "2x") + ','
                 + entry("dark.png", "iphone", "40x40", "2x",
                         R"(,"appearances":[{"appearance":"luminosity","value":"dark"}])")),
        {{"a.png", opaque.scaled(100, 100)},
         {"big.png", rgba.scaled(1024, 1024)},
         {"dark.png", opaque.scaled(80, 80)},
         {"stray.png", opaque}});
    set("Single.appiconset",
        contents(entry("t.png", "universal", "1024x1024", "",
                       R"(,"platform":"ios","appearances":[{"appearance":"luminosity","value":"tinted"}])")),
        {{"t.png", rgba.scaled(1024, 1024)}});
    set("Broken.appiconset", "{\"images\": [");
    set("Photo.imageset",
        contents(entry("p1.png", "universal", "", "1x") + ',' + entry("p2.png", "universal", "", "2x") + ','
                 + entry("p3.png", "universal", "", "3x")),
        {{"p1.png", deep.scaled(10, 10)}, {"p2.png", wide.scaled(30, 20)}, {"p3.png", opaque.scaled(30, 30)}});
    test::writeBytes(catalog / "Photo.imageset/p3.png", test::readBytes(catalog / "Photo.imageset/p3.png").chopped(20));

    EXPECT_EQ(check(catalog),
              (QStringList{
                  "error appearance-with-sizes Icons/Classic.appiconset/Contents.json",
                  "error bad-contents-json Broken.appiconset/Contents.json",
                  "error bad-contents-json Icons/Classic.appiconset/Contents.json",
                  "error broken-png Photo.imageset/p3.png",
                  "error missing-file Icons/Classic.appiconset/gone.png",
                  "error missing-slot Single.appiconset/Contents.json",
                  "error store-icon-alpha Icons/Classic.appiconset/big.png",
                  "error tinted-alpha Single.appiconset/t.png",
                  "error wrong-size Icons/Classic.appiconset/a.png",
                  "warning 16-bit Photo.imageset/p1.png",
                  "warning color-profile Photo.imageset/p2.png",
                  "warning scale-mismatch Photo.imageset/p2.png",
                  "warning unassigned-file Icons/Classic.appiconset/stray.png",
              }));
}

TEST_F(CatalogCheckTest, hostileCatalogs_areReadWithinTheSetFolderAndBounds)
{
    test::savePngTo(scratch / "outside.png", opaque);
    set("Links.imageset",
        contents(entry("link.png", "universal", "", "1x") + ',' + entry("/etc/passwd", "universal", "", "2x")));
    fs::create_symlink(scratch / "outside.png", catalog / "Links.imageset/link.png");
    fs::create_symlink(catalog, catalog / "Loop"); // a group that is the catalog again
    set("Huge.imageset", contents(entry("huge.png", "universal", "", "1x")));
    {
        const int fd = ::open((catalog / "Huge.imageset/huge.png").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_EQ(::ftruncate(fd, std::int64_t{2} << 30), 0); // 2 GB, sparse
        ::close(fd);
    }
    for (int i = 0; i < 10000; ++i)
        set("Many/" + std::to_string(i) + ".imageset", contents(""));

    CatalogCheck result;
    EXPECT_FALSE(checkCatalog(catalog, result));
    EXPECT_EQ(result.sets.size(), 10002);
    EXPECT_EQ(check(catalog),
              (QStringList{"error bad-contents-json Links.imageset/Contents.json",
                           "error broken-png Huge.imageset/huge.png", "error missing-file Links.imageset/link.png"}));
    CatalogCheck none;
    EXPECT_TRUE(checkCatalog(scratch.root, none)) << "a folder that is no catalog";
    EXPECT_TRUE(checkCatalog(scratch / "outside.png", none));
}

TEST_F(CatalogCheckTest, quorvasOwnSetsPass_butTheClassicSetOfTransparentArtIsRejected)
{
    const QString art = scratch.savePng("art.png", test::gradientImage(200, 200, 10));
    const auto cli = [&](QStringList arguments) {
        EXPECT_EQ(test::runCli(arguments).exitCode, 0) << arguments.join(' ').toStdString();
    };
    cli({"appicon", art, "--into", test::str(catalog), "--background", "white"});
    cli({"appicon", art, "--into", test::str(catalog), "--set", "Single", "--single-size", "--background", "black",
         "--dark", "--tinted"});
    cli({"imageset", art, scratch.savePng("photo.png", test::randomImage(301, 200, 3, true)), "--into",
         test::str(catalog)});
    cli({"imageset", art, test::str(scratch / "tree")});
    cli({"appicon", art, test::str(scratch / "tree"), "--single-size", "--background", "red"});
    EXPECT_EQ(check(catalog), QStringList());
    EXPECT_EQ(check(scratch / "tree/Quorva/asset/iOS/art.imageset"), QStringList());
    EXPECT_EQ(check(scratch / "tree/Quorva/icon/iOS/AppIcon.appiconset"), QStringList());

    cli({"appicon", art, test::str(scratch / "classic")});
    EXPECT_EQ(check(scratch / "classic/Quorva/icon/iOS/AppIcon.appiconset"),
              (QStringList{"error store-icon-alpha ItunesArtwork@2x.png",
                           "warning unassigned-file ItunesArtwork@1x.png",
                           "warning unassigned-file ItunesArtwork@3x.png"}));
}
