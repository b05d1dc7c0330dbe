#pragma once

#include "desktop/desktopicons.h"
#include "web/webicons.h"

#include <QString>

#include <filesystem>

namespace quorva {

// Every desktop's and the web's icons in one folder, as the window's Desktop & Web writes them and
// quorva-cli would with ico FOLDER/icon.ico, icns FOLDER/icon.icns, linux FOLDER --id ID,
// msix FOLDER/appx --msix and web FOLDER/web: the names Tauri and electron-builder give them.
struct DesktopAndWebOptions {
    QString appId = QStringLiteral("org.example.App");
    QColor background = Qt::white; // the site's touch and maskable icons
    double padding = 0;
    // The Windows package's images in appx/; the preview, which shows none of them, goes without.
    bool packageImages = true;
};
struct DesktopAndWebPlan {
    Plan plan; // paths below the folder
    QStringList links;
    QStringList notes;
};
// site: what FOLDER/web holds already.
DesktopAndWebPlan planDesktopAndWeb(const ImageRef& source, const DesktopAndWebOptions& options,
                                    const SiteFolder& site);

// The folders below the chosen one that the site's icons and the Windows package's images go in
// (electron-builder's appx folder).
inline constexpr const char* siteFolderName = "web";
inline constexpr const char* packageFolderName = "appx";

} // namespace quorva
