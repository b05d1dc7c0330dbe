#pragma once

#include "image/renderedimages.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace quorva {

// What one writer call did, so that the window and the command-line tool can tell the user;
// every failure that the call printed is among the failures, and so are those it does not print.
struct WriteReport {
    std::optional<std::filesystem::path> setFolder;
    std::vector<std::filesystem::path> written; // files written by this call, in order
    QStringList failures;
    QStringList removed; // files of the set written before that its Contents.json no longer names
    QStringList kept;    // files in the set folder that Quorva did not write, left as they are

    bool failed() const { return !failures.isEmpty(); }
};

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

// Writes one set: prints the message if there is one; otherwise, given a map and a destination,
// creates DEST/Quorva/<kind>/iOS/<setFolderName>, writes one PNG per entry and copies the
// template as Contents.json. Every file is put in whole or not at all, and no link below the
// destination takes a write out of it. Files that the set held before and its Contents.json no
// longer names are removed. Failures are printed, one line each, and the call goes on or stops
// as each requires.
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
