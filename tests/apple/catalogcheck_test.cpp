// The catalog check, rule by rule, on synthetic catalogs that reproduce what real projects hold:
// each rule's true faults, and the shipping apps' files it must not call faults.
#include "apple/catalogcheck.h"
#include "png/pngencoder.h"

#include "testsupport.h"

#include <QColorSpace>
#include <QtEndian>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <unistd.h>
#include <zlib.h>

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

// The classic iPhone and iPad slots App Store Connect requires, each filled with a file of its size.
QString requiredSlots()
{
    return entry("120.png", "iphone", "60x60", "2x") + ',' + entry("152.png", "ipad", "76x76", "2x") + ','
        + entry("167.png", "ipad", "83.5x83.5", "2x") + ',' + entry("1024.png", "ios-marketing", "1024x1024", "1x");
}

// An Xcode target as the synthetic project file holds it.
struct Target {
    const char* name;
    const char* productType;
    const char* sdk;
    QStringList resources; // paths relative to the project's folder
    std::map<QString, QString> settings;
};

// A project.pbxproj of these targets, in the form Xcode writes.
QByteArray pbxproj(const std::vector<Target>& targets)
{
    int next = 0;
    const auto id = [&next] { return QStringLiteral("A%1").arg(++next, 23, 10, QLatin1Char('0')); };
    QString objects, groupChildren, targetIds;
    const QString mainGroup = id();
    std::map<QString, QString> fileRefs;
    for (const Target& target : targets)
        for (const QString& resource : target.resources)
            if (!fileRefs.count(resource)) {
                fileRefs[resource] = id();
                objects += QStringLiteral(
                               "%1 /* %2 */ = {isa = PBXFileReference; path = \"%2\"; sourceTree = \"<group>\"; };\n")
                               .arg(fileRefs[resource], resource);
                groupChildren += fileRefs[resource] + QStringLiteral(",\n");
            }
    for (const Target& target : targets) {
        QString buildFiles, settings;
        for (const QString& resource : target.resources) {
            const QString buildFile = id();
            objects
                += QStringLiteral("%1 = {isa = PBXBuildFile; fileRef = %2; };\n").arg(buildFile, fileRefs[resource]);
            buildFiles += buildFile + QStringLiteral(", ");
        }
        settings += QStringLiteral("SDKROOT = %1;\n").arg(QLatin1String(target.sdk));
        for (const auto& [key, value] : target.settings)
            settings += QStringLiteral("%1 = \"%2\";\n").arg(key, value);
        const QString phase = id(), configuration = id(), list = id(), native = id();
        objects += QStringLiteral("%1 /* Resources */ = {isa = PBXResourcesBuildPhase; files = (%2); };\n")
                       .arg(phase, buildFiles);
        objects += QStringLiteral("%1 = {isa = XCBuildConfiguration; buildSettings = {\n%2}; name = Release; };\n")
                       .arg(configuration, settings);
        objects += QStringLiteral("%1 = {isa = XCConfigurationList; buildConfigurations = (%2, ); };\n")
                       .arg(list, configuration);
        objects += QStringLiteral("%1 = {isa = PBXNativeTarget; buildConfigurationList = %2; buildPhases = (%3, ); "
                                  "name = \"%4\"; productType = \"%5\"; };\n")
                       .arg(native, list, phase, QLatin1String(target.name), QLatin1String(target.productType));
        targetIds += native + QStringLiteral(", ");
    }
    const QString project = id();
    objects += QStringLiteral("%1 = {isa = PBXGroup; children = (\n%2); sourceTree = \"<group>\"; };\n")
                   .arg(mainGroup, groupChildren);
    objects += QStringLiteral("%1 /* Project object */ = {isa = PBXProject; mainGroup = %2; projectDirPath = \"\"; "
                              "targets = (%3); };\n")
                   .arg(project, mainGroup, targetIds);
    return QStringLiteral(
               "// !$*UTF8*$!\n{\n\tarchiveVersion = 1;\n\tobjects = {\n%1\t};\n\trootObject = %2 /* Project "
               "object */;\n}\n")
        .arg(objects, project)
        .toUtf8();
}

// A PNG whose CRCs are all right but whose image data does not inflate.
QByteArray corruptStream(QByteArray png)
{
    const qsizetype idat = png.indexOf("IDAT");
    const quint32 length = qFromBigEndian<quint32>(png.constData() + idat - 4);
    for (qsizetype at = idat + 4 + 2; at < idat + 4 + qsizetype(length) && at < idat + 24; ++at)
        png[at] = char(0xff); // a block of a reserved type
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.constData() + idat), length + 4);
    qToBigEndian<quint32>(quint32(crc), png.data() + idat + 4 + length);
    return png;
}

class CatalogCheckTest : public ::testing::Test {
protected:
    test::Scratch scratch;
    fs::path catalog = scratch / "Assets.xcassets";
    QImage opaque = test::solidImage(120, 120, qRgb(10, 20, 30)).convertToFormat(QImage::Format_RGB32);
    QImage opaqueWithAlpha = opaque.convertToFormat(QImage::Format_ARGB32); // every pixel opaque, still RGBA
    QImage transparent = test::gradientImage(120, 120, 10);

    void set(const std::string& name, const QByteArray& json,
             std::initializer_list<std::pair<const char*, QImage>> files = {}, const fs::path& in = {})
    {
        const fs::path folder = (in.empty() ? catalog : in) / name;
        fs::create_directories(folder);
        test::writeBytes(folder / "Contents.json", json);
        for (const auto& [file, image] : files)
            test::savePngTo(folder / file, image);
    }
    // The App Store's icon files of requiredSlots(), with the marketing icon given.
    void appIcon(const std::string& name, const QImage& marketing, const fs::path& in = {})
    {
        set(name, contents(requiredSlots()),
            {{"120.png", opaque.scaled(120, 120)},
             {"152.png", opaque.scaled(152, 152)},
             {"167.png", opaque.scaled(167, 167)},
             {"1024.png", marketing.scaled(1024, 1024)}},
            in);
    }
    void project(const fs::path& folder, const std::vector<Target>& targets)
    {
        fs::create_directories(folder / "App.xcodeproj");
        test::writeBytes(folder / "App.xcodeproj/project.pbxproj", pbxproj(targets));
    }

    // "severity rule path-inside-the-catalog" for each finding.
    QStringList check(const fs::path& path, const CheckOptions& options = {})
    {
        CatalogCheck result;
        EXPECT_FALSE(checkCatalog(path, result, options));
        notes = result.notes;
        QStringList found;
        const QString prefix = test::str(path) + QLatin1Char('/');
        for (const Finding& finding : result.findings)
            found << QStringLiteral("%1 %2 %3")
                         .arg(finding.severity == Finding::Severity::Error ? "error" : "warning", finding.rule,
                              QString(finding.path).remove(prefix));
        found.sort();
        return found;
    }
    QStringList notes;
};

} // namespace

TEST_F(CatalogCheckTest, eachFileRuleIsReportedUnderItsNameAndSeverity)
{
    QImage deep = opaque.convertToFormat(QImage::Format_RGBA64);
    QImage wide = opaque;
    wide.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    set("Icons/AppIcon.appiconset",
        contents(requiredSlots() + ',' + entry("gone.png", "iphone", "20x20", "2x") + ','
                 + entry("../../etc/passwd", "iphone", "29x29", "2x") + ','
                 + entry("dark.png", "iphone", "40x40", "2x",
                         R"(,"appearances":[{"appearance":"luminosity","value":"dark"}])")),
        {{"120.png", opaque.scaled(100, 100)},
         {"152.png", opaque.scaled(152, 152)},
         {"167.png", opaque.scaled(167, 167)},
         {"1024.png", opaque.scaled(1024, 1024)},
         {"dark.png", opaque.scaled(80, 80)},
         {"stray.png", opaque}});
    test::writeBytes(catalog / "Icons/AppIcon.appiconset/README.md", "not an image: no unassigned child");
    set("Broken.imageset", "{\"images\": [");
    set("Photo.imageset",
        contents(entry("p1.png", "universal", "", "1x") + ',' + entry("p2.png", "universal", "", "2x") + ','
                 + entry("p3.png", "universal", "", "3x")),
        {{"p1.png", deep.scaled(10, 10)}, {"p2.png", wide.scaled(30, 20)}, {"p3.png", opaque.scaled(30, 30)}});
    EXPECT_EQ(check(catalog),
              (QStringList{
                  "error appearance-with-sizes Icons/AppIcon.appiconset/Contents.json",
                  "error bad-contents-json Broken.imageset/Contents.json",
                  "error bad-contents-json Icons/AppIcon.appiconset/Contents.json",
                  "error missing-file Icons/AppIcon.appiconset/gone.png",
                  "error wrong-size Icons/AppIcon.appiconset/120.png",
                  "warning 16-bit Photo.imageset/p1.png",
                  "warning color-profile Photo.imageset/p2.png",
                  "warning scale-mismatch Photo.imageset/p2.png",
                  "warning unassigned-file Icons/AppIcon.appiconset/stray.png",
              }));
}

TEST_F(CatalogCheckTest, brokenPngsAreFoundEachWayAPngBreaks)
{
    const QByteArray good = *encodePng(test::randomImage(64, 64, 5, true));
    QByteArray badCrc = good;
    badCrc[29] = char(badCrc[29] ^ 1); // IHDR's CRC
    QByteArray webp = test::readBytes(QUORVA_CORPUS_DIR "/files/opaque.webp");
    set("Files.imageset",
        contents(entry("signature.png", "universal", "", "1x") + ',' + entry("crc.png", "universal", "", "2x") + ','
                 + entry("cut.png", "universal", "", "3x") + ',' + entry("stream.png", "ipad", "", "1x") + ','
                 + entry("webp.png", "ipad", "", "2x") + ',' + entry("good.png", "mac", "", "1x")));
    const fs::path folder = catalog / "Files.imageset";
    test::writeBytes(folder / "signature.png", QByteArray("GIF89a") + good.mid(6));
    test::writeBytes(folder / "crc.png", badCrc);
    test::writeBytes(folder / "cut.png", good.chopped(30));
    test::writeBytes(folder / "stream.png", corruptStream(good));
    test::writeBytes(folder / "webp.png", webp);
    test::writeBytes(folder / "good.png", good);
    EXPECT_EQ(check(catalog),
              (QStringList{"error broken-png Files.imageset/crc.png", "error broken-png Files.imageset/cut.png",
                           "error broken-png Files.imageset/stream.png",
                           "warning misnamed-format Files.imageset/signature.png",
                           "warning misnamed-format Files.imageset/webp.png"}));
}

TEST_F(CatalogCheckTest, scalesAreComparedWithinAVariantWithOrWithoutA1x)
{
    set("NoOne.imageset",
        contents(entry("a2.png", "universal", "", "2x") + ',' + entry("a3.png", "universal", "", "3x")),
        {{"a2.png", opaque.scaled(640, 640)}, {"a3.png", opaque.scaled(320, 320)}});
    set("Idioms.imageset",
        contents(entry("u1.png", "universal", "", "1x") + ',' + entry("u2.png", "universal", "", "2x") + ','
                 + entry("u3.png", "universal", "", "3x") + ',' + entry("i1.png", "ipad", "", "1x") + ','
                 + entry("i2.png", "ipad", "", "2x")),
        {{"u1.png", opaque.scaled(10, 10)},
         {"u2.png", opaque.scaled(20, 20)},
         {"u3.png", opaque.scaled(30, 30)},
         {"i1.png", opaque.scaled(50, 50)},
         {"i2.png", opaque.scaled(100, 100)}});
    EXPECT_EQ(check(catalog), QStringList{"warning scale-mismatch NoOne.imageset/a3.png"});
}

TEST_F(CatalogCheckTest, withoutAProjectAppIconIsTheStoreIconAndTheOthersAlternates)
{
    appIcon("AppIcon.appiconset", transparent);
    appIcon("Alternate.appiconset", transparent);
    set("Empty.appiconset", contents(R"({"idiom":"iphone","size":"60x60","scale":"2x"})"));
    EXPECT_EQ(check(catalog), QStringList{"error store-icon-alpha AppIcon.appiconset/1024.png"});
    EXPECT_EQ(notes, QStringList{"no Xcode project found: took AppIcon as the app's icon"});

    fs::remove_all(catalog / "AppIcon.appiconset");
    fs::remove_all(catalog / "Alternate.appiconset");
    EXPECT_EQ(check(catalog), QStringList{"warning empty-icon-set Empty.appiconset/Contents.json"})
        << "a catalog's only set, and Xcode's empty template: a warning at most";
}

TEST_F(CatalogCheckTest, anOpaqueAlphaChannelIsAWarningButTransparentPixelsAnError)
{
    QImage palette = opaque.convertToFormat(QImage::Format_Indexed8);
    palette.setColor(0, qRgba(0, 0, 0, 0)); // a tRNS entry that pixels use
    appIcon("AppIcon.appiconset", opaqueWithAlpha);
    EXPECT_EQ(check(catalog), QStringList{"warning store-icon-alpha AppIcon.appiconset/1024.png"});
    test::savePngTo(catalog / "AppIcon.appiconset/1024.png", test::gradientImage(1024, 1024, 1));
    EXPECT_EQ(check(catalog), QStringList{"error store-icon-alpha AppIcon.appiconset/1024.png"});

    fs::remove_all(catalog / "AppIcon.appiconset");
    set("AppIcon.appiconset",
        contents(entry("w.png", "universal", "1024x1024", "", R"(,"platform":"watchos")") + ','
                 + entry("t.png", "universal", "1024x1024", "",
                         R"(,"platform":"watchos","appearances":[{"appearance":"luminosity","value":"tinted"}])")),
        {{"w.png", opaqueWithAlpha.scaled(1024, 1024)}, {"t.png", transparent.scaled(1024, 1024)}});
    EXPECT_EQ(check(catalog),
              (QStringList{"error watch-icon-alpha AppIcon.appiconset/t.png",
                           "warning tinted-alpha AppIcon.appiconset/t.png",
                           "warning watch-icon-alpha AppIcon.appiconset/w.png"}));
}

TEST_F(CatalogCheckTest, theProjectTellsWhichSetIsTheAppsIconForWhichDevices)
{
    const fs::path ios = scratch / "ios";
    fs::create_directories(ios / "Runner");
    const fs::path app = ios / "Runner/Assets.xcassets";
    // An iPhone-only app: no iPad slot is required of it; an alternate may be transparent.
    set("AppIcon.appiconset",
        contents(entry("120.png", "iphone", "60x60", "2x") + ',' + entry("1024.png", "ios-marketing", "1024x1024", "1x")
                 + R"(,{"idiom":"ipad","size":"76x76","scale":"2x"})"),
        {{"120.png", opaque}, {"1024.png", opaque.scaled(1024, 1024)}}, app);
    appIcon("Dark.appiconset", transparent, app);
    // A share extension's catalog: its icon is transparent by design, and its AppIcon template empty.
    const fs::path share = ios / "Share/Assets.xcassets";
    appIcon("ShareIcon.appiconset", transparent, share);
    set("AppIcon.appiconset", contents(R"({"idiom":"iphone","size":"60x60","scale":"2x"})"), {}, share);
    project(ios,
            {{"Runner",
              "com.apple.product-type.application",
              "iphoneos",
              {"Runner/Assets.xcassets"},
              {{"ASSETCATALOG_COMPILER_APPICON_NAME", "AppIcon"},
               {"ASSETCATALOG_COMPILER_ALTERNATE_APPICON_NAMES", "Dark"},
               {"TARGETED_DEVICE_FAMILY", "1"}}},
             {"Share", "com.apple.product-type.app-extension", "iphoneos", {"Share/Assets.xcassets"}, {}}});
    EXPECT_EQ(check(app), QStringList());
    EXPECT_EQ(check(share), QStringList());
    EXPECT_TRUE(notes.isEmpty()) << notes.join('\n').toStdString();

    // No device family set: Xcode builds for the iPhone alone, and no iPad slot is required.
    project(ios,
            {{"Runner",
              "com.apple.product-type.application",
              "iphoneos",
              {"Runner/Assets.xcassets"},
              {{"ASSETCATALOG_COMPILER_APPICON_NAME", "AppIcon"}}}});
    EXPECT_EQ(check(app), QStringList());
    // The same app for iPad too: its iPad slots are required.
    project(ios,
            {{"Runner",
              "com.apple.product-type.application",
              "iphoneos",
              {"Runner/Assets.xcassets"},
              {{"ASSETCATALOG_COMPILER_APPICON_NAME", "AppIcon"}, {"TARGETED_DEVICE_FAMILY", "1,2"}}}});
    EXPECT_EQ(check(app),
              (QStringList{"error missing-slot AppIcon.appiconset/Contents.json",
                           "error missing-slot AppIcon.appiconset/Contents.json"}));
    // A name the check can't resolve: the fallback, said in a note.
    project(ios,
            {{"Runner",
              "com.apple.product-type.application",
              "iphoneos",
              {"Runner/Assets.xcassets"},
              {{"ASSETCATALOG_COMPILER_APPICON_NAME", "$(ICON_NAME)"}, {"TARGETED_DEVICE_FAMILY", "1"}}}});
    EXPECT_EQ(check(app), QStringList());
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("$(ICON_NAME)")) << notes[0].toStdString();
}

TEST_F(CatalogCheckTest, aMacTargetsSetIsJudgedAsAMacIcon)
{
    const fs::path macos = scratch / "macos";
    const fs::path mac = macos / "Runner/Assets.xcassets";
    // Flutter's macOS catalog: iOS entries beside the Mac ones, and shaped, transparent art.
    set("AppIcon.appiconset",
        contents(entry("1024.png", "ios-marketing", "1024x1024", "1x") + ',' + entry("512.png", "mac", "512x512", "1x")
                 + ',' + entry("1024.png", "mac", "512x512", "2x")),
        {{"1024.png", transparent.scaled(1024, 1024)}, {"512.png", transparent.scaled(512, 512)}}, mac);
    project(macos,
            {{"Runner",
              "com.apple.product-type.application",
              "macosx",
              {"Runner/Assets.xcassets"},
              {{"ASSETCATALOG_COMPILER_APPICON_NAME", "AppIcon"}}}});
    EXPECT_EQ(check(mac), QStringList(8, "warning missing-slot AppIcon.appiconset/Contents.json"))
        << "the smaller Mac sizes, which the Finder draws";
    CheckOptions none;
    none.project = macos / "App.xcodeproj";
    EXPECT_EQ(check(mac, none).size(), 8) << "--project names the same project";
}

TEST_F(CatalogCheckTest, anIconComposerFileIsTheAppsIconAndIsChecked)
{
    const fs::path ios = scratch / "ios";
    const fs::path app = ios / "Runner/Assets.xcassets";
    set("AppIcon.appiconset", contents(R"({"idiom":"universal","platform":"ios","size":"1024x1024"})"), {}, app);
    fs::create_directories(ios / "AppIcon.icon/Assets");
    test::writeBytes(ios / "AppIcon.icon/icon.json",
                     R"({"fill":"automatic","groups":[{"layers":[{"image-name":"art.png","name":"art"},)"
                     R"({"image-name":"gone.svg","name":"gone"}]}],"supported-platforms":{"squares":"shared"}})");
    test::savePngTo(ios / "AppIcon.icon/Assets/art.png", transparent);
    project(ios,
            {{"Runner",
              "com.apple.product-type.application",
              "iphoneos",
              {"Runner/Assets.xcassets", "AppIcon.icon"},
              {{"ASSETCATALOG_COMPILER_APPICON_NAME", "AppIcon"}}}});
    CatalogCheck result;
    ASSERT_FALSE(checkCatalog(app, result));
    ASSERT_EQ(result.findings.size(), 1u) << "no missing-slot: the .icon is the app's icon";
    EXPECT_EQ(result.findings[0].rule, QStringLiteral("missing-file"));
    EXPECT_TRUE(result.findings[0].path.endsWith("AppIcon.icon/Assets/gone.svg"))
        << result.findings[0].path.toStdString();
}

TEST_F(CatalogCheckTest, linksAreFollowedInsideTheCatalogAndReportedWhenTheyLeadOut)
{
    test::savePngTo(scratch / "outside.png", opaque);
    set("Shared/Logo.imageset", contents(entry("logo.png", "universal", "", "1x")), {{"logo.png", opaque}});
    fs::create_directories(catalog / "Group");
    fs::create_symlink(catalog / "Shared/Logo.imageset", catalog / "Group/Linked.imageset");
    fs::create_symlink(scratch.root, catalog / "Out");
    set("Links.imageset", contents(entry("link.png", "universal", "", "1x")));
    fs::create_symlink(scratch / "outside.png", catalog / "Links.imageset/link.png");
    CatalogCheck result;
    ASSERT_FALSE(checkCatalog(catalog, result));
    EXPECT_TRUE(result.sets.contains(test::str(catalog / "Group/Linked.imageset"))) << "followed inside";
    EXPECT_EQ(check(catalog),
              (QStringList{"warning link-outside Links.imageset/link.png", "warning link-outside Out"}));
}

TEST_F(CatalogCheckTest, aFileThatCantBeReadIsUnreadableNotBroken)
{
    set("Locked.imageset", contents(entry("a.png", "universal", "", "1x")), {{"a.png", opaque}});
    ::chmod((catalog / "Locked.imageset/Contents.json").c_str(), 0);
    ::chmod(scratch.root.c_str(), 0755); // the scratch folder itself is the owner's alone
    // As another user than root, whom no permission stops.
    const auto asNobody = [&] {
        if (::geteuid() == 0) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
        CatalogCheck result;
        checkCatalog(catalog, result);
        // _Exit: the forked child runs no exit handlers, nor a leak scan of threads fork left behind.
        std::_Exit(result.findings.size() == 1 && result.findings[0].rule == QLatin1String("unreadable") ? 0 : 1);
    };
    EXPECT_EXIT(asNobody(), testing::ExitedWithCode(0), "");
}

TEST_F(CatalogCheckTest, hostileCatalogsAreReadWithinTheSetFolderAndBounds)
{
    set("Names.imageset", contents(entry("/etc/passwd", "universal", "", "2x")));
    fs::create_symlink(catalog, catalog / "Loop"); // a group that is the catalog again
    set("Huge.imageset", contents(entry("huge.png", "universal", "", "1x")));
    {
        const int fd = ::open((catalog / "Huge.imageset/huge.png").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_EQ(::ftruncate(fd, std::int64_t{2} << 30), 0); // 2 GB, sparse
        ::close(fd);
    }
    for (int i = 0; i < 2000; ++i) // a catalog of many sets is read whole
        set("Many/" + std::to_string(i) + ".imageset", contents(""));

    CatalogCheck result;
    EXPECT_FALSE(checkCatalog(catalog, result));
    EXPECT_EQ(result.sets.size(), 2002);
    EXPECT_EQ(check(catalog),
              (QStringList{"error bad-contents-json Names.imageset/Contents.json",
                           "error broken-png Huge.imageset/huge.png"}));
    CatalogCheck none;
    EXPECT_TRUE(checkCatalog(scratch.root, none)) << "a folder that is no catalog";
    EXPECT_TRUE(checkCatalog(scratch / "Huge", none));
}

TEST_F(CatalogCheckTest, quorvasOwnSetsPassButTheClassicSetOfTransparentArtIsRejected)
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
