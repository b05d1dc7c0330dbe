#pragma once

#include "desktop/desktopicons.h"
#include "target/plan.h"

#include <QColor>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace quorva {

// A site's icons: the favicons, the touch icon, the manifest's icons.
struct WebOptions {
    QColor background = Qt::white; // behind the touch icon and the maskable icons
    double padding = 0;
};

// What is in the site folder already: its manifest (its path below the folder, and its text) and
// the size of a favicon.png there (Flutter's), each when present.
struct SiteFolder {
    std::optional<QString> manifestPath;
    QByteArray manifest;
    std::optional<int> faviconPngSide;
    // The manifest lies outside the folder, as a Vite PWA's does beside vite.config.ts: the site
    // serves it at its root, where its relative srcs start, and it is read, never written.
    bool manifestOutside = false;
};
// Reads what the plan needs of the site folder; manifest: a manifest of the user's choosing, by
// its path relative to the folder (below it, or outside it: "../manifest.json"). A line saying why, when the manifest can't be read.
std::optional<QString> readSiteFolder(const std::filesystem::path& folder, const std::optional<QString>& manifest,
                                      SiteFolder& site);

// The site's files, by paths below its folder, with the <link> lines for the page's head.
// Without a manifest: favicon.ico (16, 32, 48), favicon.svg for a drawing, apple-touch-icon.png
// (180 px, opaque on the background), icon-192.png and icon-512.png, their maskable twins (the
// whole square filled, the art inside the central 80 % circle), and a manifest.webmanifest naming
// them. With one: the icons it names, at its sizes and purposes, favicon.png when the folder has
// one, and the manifest with entries added only for the 192 and 512 px icons it lacks.
struct WebPlan {
    Plan plan;
    QStringList links;
    QStringList notes;
};
WebPlan planWebIcons(const ImageRef& source, const WebOptions& options, const SiteFolder& site);

} // namespace quorva
