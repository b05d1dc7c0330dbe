#pragma once

#include "image/renderedimages.h"
#include "target/installreport.h"
#include "target/plan.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace quorva {

// How one kind of set lies below the destination.
struct CatalogSetLayout {
    QString kindFolder;                 // "icon" or "asset", between "Quorva" and the platform
    QString templateResource;           // compiled-in template copied as Contents.json
    std::optional<QByteArray> contents; // a Contents.json made for the set, used instead of the template
    bool appendPngToKeys = false;       // image set keys have no extension
    bool copyArtworkToPlatformFolder = false;
    QString platformFolder = QStringLiteral("iOS"); // "macOS" or "watchOS" for a set of those alone

    // The file that the image under this key is written to.
    QString fileNameFor(const QString& key) const;
    // Whether that image is written again beside the set, in the platform folder.
    bool copiesToPlatformFolder(const QString& key) const;
    // The artwork files of an app icon set ("ItunesArtwork@2x.png"), which the classic set holds
    // whether or not its Contents.json names them.
    static bool isArtwork(const QString& key);
    // The key of the image that a file of the set's Contents.json is written from.
    QString keyFor(const QString& fileName) const;
    // How many files a whole set of these keys is: one per key, the copies beside the set, and
    // the Contents.json.
    std::size_t fileCount(const QStringList& keys) const;
};

// A set's Contents.json: the one made for it, else the template's bytes, or why there is none.
struct SetContentsFile {
    std::optional<QByteArray> bytes;
    bool missing = false; // no template of that name: the writer leaves the set without one, silently
    QString error;        // "Couldn't find the template …" or "Couldn't read …"
};
SetContentsFile contentsOf(const CatalogSetLayout& layout);

const CatalogSetLayout& appIconSetLayout();
const CatalogSetLayout& imageSetLayout();
// A single-size app icon set in the app icon set's place, with the Contents.json given.
CatalogSetLayout singleSizeAppIconSetLayout(QByteArray contents);

// A set as the files it is below the destination: its PNG files encoded, the artwork copies beside
// it and its Contents.json; or why it can't be, and whether that goes to standard output.
struct CatalogSetPlan {
    Plan plan;
    QString setFolder; // below the destination: "Quorva/icon/iOS/AppIcon.appiconset"
    QByteArray contents;
    std::optional<QString> failure;
    bool printed = true;
};
CatalogSetPlan planCatalogSet(const CatalogSetLayout& layout, const RenderedImages& images, const QString& setName);

// Puts the set below the destination whole or not at all: files of the set written before that
// its Contents.json no longer names go, files that neither set had are the user's and stay, and
// no link below the destination takes a write out of it.
WriteReport installCatalogSet(const std::filesystem::path& destination, const CatalogSetPlan& set,
                              bool makeDestination = false);

// Writes one set: prints the message if there is one; otherwise, given a map and a destination,
// puts DEST/Quorva/<kind>/<platform>/<setFolderName> in with one PNG per entry and the template as
// Contents.json, all of it or, should anything fail, nothing. Failures are printed, one line each.
WriteReport writeCatalogSet(const CatalogSetLayout& layout, const std::optional<RenderedImages>& images,
                            const std::optional<QString>& message,
                            const std::optional<std::filesystem::path>& destination,
                            const std::function<QString()>& setFolderName);

// DEST/Quorva/icon/iOS/AppIcon.appiconset, with the artwork files also in DEST/Quorva/icon/iOS.
WriteReport writeAppIconSet(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                            const std::optional<std::filesystem::path>& destination,
                            const CatalogSetLayout& layout = appIconSetLayout());

// Reads the current asset name; asked anew at every call of the image set writer.
using AssetNameSource = std::function<std::optional<QString>()>;

// DEST/Quorva/asset/iOS/NAME.imageset, or asset.imageset while there is no name.
WriteReport writeImageSet(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                          const std::optional<std::filesystem::path>& destination, const AssetNameSource& assetName);

} // namespace quorva
