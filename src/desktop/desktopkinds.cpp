#include "desktop/desktopkinds.h"

#include "desktop/desktopcheck.h"
#include "desktop/desktopicons.h"
#include "support/fileio.h"
#include "support/paths.h"

namespace quorva {
namespace fs = std::filesystem;
namespace {

// One file of its own, in its folder, which is made where it is missing.
Placement oneFile(const fs::path& file, const QByteArray& bytes)
{
    Plan plan;
    plan.add(displayPath(file.filename()), bytes);
    return {file.parent_path().empty() ? fs::path(".") : file.parent_path(), plan, true};
}

KindOutput iconFile(const KindRequest& request, const std::optional<QByteArray>& bytes)
{
    KindOutput out;
    out.where = request.text(QStringLiteral("file"));
    if (!bytes)
        out.failure = pathLine(request.path(QStringLiteral("file")), QStringLiteral("Couldn't make the icon"));
    else
        out.placements.push_back(oneFile(request.path(QStringLiteral("file")), *bytes));
    return out;
}

const OptionSchema& icoOptions()
{
    static const OptionSchema options = withSharedOptions({
        {"file", OptionType::Output, true, {}, nullptr, nullptr, 1024, ".ico"},
        OptionSpec{"sizes", OptionType::Sizes, false, {}, nullptr, nullptr, 256}.described(
            "the pixel sizes, joined by commas (16,32,48 is a favicon)"),
    });
    return options;
}

KindOutput makeIco(const KindRequest& request)
{
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    DesktopArt art{request.colour(), request.padding()};
    return iconFile(request,
                    icoOf(source.loaded.image, art, request.sizes(QStringLiteral("sizes"), windowsIconSizes())));
}

const OptionSchema& icnsOptions()
{
    static const OptionSchema options = {
        {"file", OptionType::Output, true, {}, nullptr, nullptr, 1024, ".icns"},
        macShapeOption(),
        sharedOption("source"),
        sharedOption("padding"),
    };
    return options;
}

KindOutput makeIcns(const KindRequest& request)
{
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    return iconFile(request,
                    icnsOf(source.loaded.image, macShapeNamed(request.text(QStringLiteral("mac-shape"))),
                           request.padding()));
}

const OptionSchema& hicolorOptions()
{
    static const OptionSchema options = withSharedOptions({
        {"folder", OptionType::Output, true},
        OptionSpec{"id",
                   OptionType::Name,
                   true,
                   {},
                   appIdProblem,
                   "an application ID (a reverse DNS name: org.example.App)"}
            .described("the application's reverse DNS name, as its .desktop file's name and Icon= say "
                       "(org.example.App)",
                       "APP_ID"),
        OptionSpec{"sizes", OptionType::Sizes, false, {}, nullptr, nullptr, 1024}.described(
            "the pixel sizes, joined by commas"),
    });
    return options;
}

KindOutput makeHicolor(const KindRequest& request)
{
    KindOutput out;
    out.where = request.text(QStringLiteral("folder"));
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    const DesktopArt art{request.colour(), request.padding()};
    const Plan plan = planHicolor(source.loaded.image, request.text(QStringLiteral("id")),
                                  request.sizes(QStringLiteral("sizes"), hicolorSizes()), art);
    if (plan.refusal)
        out.failure = pathLine(request.path(QStringLiteral("folder")), *plan.refusal);
    else
        out.placements.push_back({request.path(QStringLiteral("folder")), plan, true});
    return out;
}

// An application's .ico or .icns as Windows or macOS would take it.
KindCheck checkIconFile(const KindRequest& request, bool ico)
{
    KindCheck check;
    const fs::path file = request.path(QStringLiteral("file"));
    const std::optional<QByteArray> bytes = readSmallFile(file, 64 << 20);
    if (!bytes) {
        check.error = pathLine(file, QStringLiteral("it can't be read"));
        return check;
    }
    check.places << displayPath(file);
    check.findings = ico ? checkIco(*bytes, displayPath(file), file.filename() != "favicon.ico")
                         : checkIcns(*bytes, displayPath(file));
    return check;
}

KindCheck checkIcoFile(const KindRequest& request)
{
    return checkIconFile(request, true);
}

KindCheck checkIcnsFile(const KindRequest& request)
{
    return checkIconFile(request, false);
}

const char* iconFileAt(const fs::path& path, const char* extension)
{
    return isFile(path) && displayPath(path.extension()).toLower() == QLatin1String(extension) ? "file" : nullptr;
}

} // namespace

const OutputKind icoKind{"windows",
                         "ico",
                         icoOptions,
                         {"source", "file"},
                         makeIco,
                         checkIcoFile,
                         "writes a Windows .ico file: 16, 20, 24, 32, 40, 48, 64 and 256 px unless --sizes says "
                         "otherwise",
                         [](const fs::path& path) { return iconFileAt(path, ".ico"); }};
const OutputKind icnsKind{"icns",
                          "icns",
                          icnsOptions,
                          {"source", "file"},
                          makeIcns,
                          checkIcnsFile,
                          "writes a macOS .icns file: every PNG type from 16 to 1024 px",
                          [](const fs::path& path) { return iconFileAt(path, ".icns"); }};
const OutputKind hicolorKind{"linux",
                             "linux",
                             hicolorOptions,
                             {"source", "folder"},
                             makeHicolor,
                             nullptr,
                             "writes DIR/hicolor/SIZExSIZE/apps/APP_ID.png from 16 to 512 px, and "
                             "DIR/hicolor/scalable/apps/APP_ID.svg for an SVG source"};

} // namespace quorva
