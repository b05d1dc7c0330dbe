#pragma once

#include "desktop/desktopicons.h"
#include "image/image.h"
#include "target/plan.h"

#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace quorva {

// The images of a Windows package (MSIX): named in its manifest without qualifiers
// (Assets\Square44x44Logo.png), found by Windows under qualified names beside it.

// A resource of the package's manifest, by its unqualified name and its size at scale 100.
struct MsixResource {
    const char* name; // "Square44x44Logo"
    int width, height;
};
// The package logo, the app icon, the medium and the wide tile: what Windows 11 and the Store
// ask of every package.
const std::vector<MsixResource>& msixResources();
// The other roles a package may name, by their default names: the small and large tiles of
// Windows 10's Start and the splash screen. Written where the folder has them already.
const std::vector<MsixResource>& msixOtherRoles();
// The scales a resource comes at (.scale-125 is its size × 1.25, rounded), and the target sizes
// of the app icon the taskbar and Start take (.targetsize-48).
const std::vector<int>& msixScales();
const std::vector<int>& msixTargetSizes();
// What `tauri icon` writes, flat names without qualifiers: StoreLogo.png and Square30x30Logo.png
// … Square310x310Logo.png.
const std::vector<MsixResource>& tauriStoreImages();

// A file name read as Windows' resource loader reads it: NAME.QUALIFIERS.png, the qualifiers
// joined by _ in any order (scale-200, targetsize-48, altform-unplated).
struct MsixImageName {
    QString resource;
    std::optional<int> scale, targetSize;
    QString altform; // "unplated", "lightunplated"; empty for none
};
std::optional<MsixImageName> msixImageName(const QString& fileName);
// A resource's size at scale 100, by its name: the roles' default names (SmallTile, LargeTile,
// BadgeLogo, SplashScreen) and any SquareNxNLogo or WideNxNLogo; nothing for another name.
std::optional<QSize> msixBaseSize(const QString& resource);
// A resource's side at a scale, as Visual Studio rounds it: 150 at 125 % is 188.
int scaled(int side, int scale);

// Every image, in memory: Tauri's flat set, or with windows11 the qualified set Windows 11 wants
// (each resource at every scale, and the app icon at every target size drawn on a plate, unplated
// and unplated for light taskbars), with the other roles named in alsoRoles at every scale. The
// target sizes fill their square; the rest keep the margin, a wide one centred at its height.
Plan planMsixImages(const ImageRef& source, const DesktopArt& art, bool windows11,
                    const std::vector<MsixResource>& alsoRoles = {});

} // namespace quorva
