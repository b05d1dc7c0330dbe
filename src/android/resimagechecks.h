#pragma once

#include "android/moduleview.h"
#include "android/resfindings.h"
#include "png/pngstructure.h"

#include <QSize>

#include <filesystem>
#include <map>

namespace quorva {

// The rules of a res folder's images, as Android's build and launchers judge their pixels: each
// PNG whole, each bitmap its density's size, notification icons white on transparent, a
// foreground's art inside the circle no launcher masks. Each PNG is read once.
class ResImageChecks {
public:
    ResImageChecks(ResFolders& folders, ResFindings& findings) : m_folders(folders), m_findings(findings) {}

    // Every PNG of the drawable and mipmap folders is compiled by Android's build, which stops at
    // one that is not whole.
    void checkPngs(const std::filesystem::path& res);
    // Notification icons, by the names Android Studio and Quorva give them (ic_stat_…,
    // ic_notification): their size at each density, and colours that Android drops, drawing the
    // alpha alone in the status bar's colour (lint's IconColors).
    void checkNotificationIcons(const std::filesystem::path& res);
    // A bitmap of a density folder against so many dp at that density; kind names it ("icon"),
    // namedBy the files that name it.
    void checkPixelSize(const ResDefinition& definition, double dp, const QString& kind, const QStringList& namedBy);
    // The foreground's art, measured on its alpha at the largest density it has, against the 66 dp
    // circle in the middle of the 108 dp layer.
    void checkSafeZone(const std::vector<ResDefinition>& definitions, const QStringList& namedBy);

private:
    // A PNG's size as its header, read already, gives it; another format's from its own reader.
    QSize pixelSize(const std::filesystem::path& res, const QString& sub, const QString& file);

    ResFolders& m_folders;
    ResFindings& m_findings;
    std::map<std::filesystem::path, PngStructure> m_pngs; // every PNG of the mipmap and drawable folders
};

// Whether any visible pixel is coloured, not white: what Android drops from a notification icon.
bool hasColours(const QImage& icon);
// How far from the image's centre its art reaches, in pixels: a pixel of art is one at least half
// opaque.
double farthestArt(const QImage& layer);

} // namespace quorva
