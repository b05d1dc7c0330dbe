#pragma once

#include "image/image.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <optional>

namespace quorva {

// An Icon Composer file as a designer made it: its icon.json (groups, glass, fills, shadows and
// their dark and tinted specializations) and every file of its Assets/, by paths inside NAME.icon.
struct IconComposerDesign {
    std::map<QString, QByteArray> files;
    QStringList layerImages; // each image a layer names in icon.json, front to back, once
};
// Nothing when the folder holds no icon.json, or more than an icon file holds.
std::optional<IconComposerDesign> readIconComposerDesign(const std::filesystem::path& icon);

// The design with one layer's image made from new art, every other byte as it was: a drawing as
// its SVG document, a bitmap as a 1024 px PNG. Where the art's format is not the layer's, the new
// image takes the layer's name with the art's extension, and icon.json is changed in that name
// alone. A line saying why, when the design has no such layer or the art can't be made.
struct DesignWithArt {
    std::map<QString, QByteArray> files;
    std::optional<QString> failure;
};
DesignWithArt withLayerArt(const IconComposerDesign& design, const QString& layer, const Image& art);

} // namespace quorva
