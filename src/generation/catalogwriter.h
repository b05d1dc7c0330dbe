#pragma once

#include "generation/renderedimages.h"

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

    bool failed() const { return !failures.isEmpty(); }
};

// How one kind of set lies below the destination.
struct CatalogSetLayout {
    QString kindFolder;                 // "icon" or "asset", between "Quorva" and "iOS"
    QString templateResource;           // compiled-in template copied as Contents.json
    std::optional<QByteArray> contents; // a Contents.json made for the set, used instead of the template
    bool appendPngToKeys = false;       // image set keys have no extension
    bool copyArtworkToPlatformFolder = false;
};

// The Contents.json of a set of this layout: the one made for it, else the template's bytes.
// Nothing when the template is missing, or can't be read, which readError then tells.
std::optional<QByteArray> contentsOf(const CatalogSetLayout& layout, QString* readError = nullptr);

const CatalogSetLayout& appIconSetLayout();
const CatalogSetLayout& imageSetLayout();
// A single-size app icon set in the app icon set's place, with the Contents.json given.
CatalogSetLayout singleSizeAppIconSetLayout(QByteArray contents);

// Writes one set: prints the message if there is one; otherwise, given a map and a destination,
// creates DEST/Quorva/<kind>/iOS/<setFolderName>, writes one PNG per entry and copies the
// template as Contents.json. Failures are printed, one line each, and the call goes on or stops
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
