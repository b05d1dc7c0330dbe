#pragma once

#include "target/finding.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace quorva {

// What a Windows .ico file holds that Windows or a browser would not take: another format under
// the name, a broken directory or image, an image of another size than its entry says; and, for
// an application's icon (not a site's favicon), no 256 px image for the large views.
std::vector<Finding> checkIco(const QByteArray& bytes, const QString& shownPath, bool application);

// The same for a macOS .icns file: its elements, their PNG images and their sizes, and the 1024 px
// image the Retina Dock and Finder take.
std::vector<Finding> checkIcns(const QByteArray& bytes, const QString& shownPath);

} // namespace quorva
