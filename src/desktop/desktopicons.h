#pragma once

#include "image/image.h"
#include "image/macshape.h"
#include "target/plan.h"

#include <QColor>
#include <QString>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace quorva {

// How the source becomes the square art of a desktop or web icon: the whole image, its aspect
// kept, with room around it, laid onto a colour when one is given.
struct DesktopArt {
    std::optional<QColor> background;
    double padding = 0; // the margin on each side, as a fraction of the side
};

// The art at each side, each drawn from the source (an SVG anew), side by side on the pool.
std::map<int, ImageRef> renderSides(const ImageRef& source, const DesktopArt& art, const std::set<int>& sides);

// Windows .ico: an application's sizes, and a site's favicon's.
const std::vector<int>& windowsIconSizes();
const std::vector<int>& faviconSizes();
// An .ico of the source at each side; nothing when the source has no bitmap.
std::optional<QByteArray> icoOf(const ImageRef& source, const DesktopArt& art, const std::vector<int>& sides);

// A macOS .icns of every PNG type from 16 to 1024 px, the art laid into the Mac shape as the
// choice says (macOS masks no .icns).
std::optional<QByteArray> icnsOf(const ImageRef& source, MacShape shape, double padding);

// The freedesktop hicolor theme: its sizes, and whether a name is an application ID (a reverse
// DNS name as D-Bus spells one: org.example.App), else why not.
const std::vector<int>& hicolorSizes();
std::optional<QString> appIdProblem(const QString& id);
// hicolor/SIZExSIZE/apps/ID.png for each side, and hicolor/scalable/apps/ID.svg for a drawing
// (its document as the loader made it safe); paths below the folder the theme goes in.
Plan planHicolor(const ImageRef& source, const QString& appId, const std::vector<int>& sides, const DesktopArt& art);

} // namespace quorva
