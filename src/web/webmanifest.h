#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace quorva {

// One entry of a web app manifest's icons.
struct ManifestIcon {
    QString src;
    QString sizes;   // "192x192", "any"; several are spaced
    QString type;    // "image/png"
    QString purpose; // "any", "maskable", "any maskable"

    bool maskable() const;
    // Whether browsers may show it as it is: purpose "any", by default or among others ("any maskable").
    bool any() const;
    // The first pixel size it gives, or 0 ("any", or none).
    int side() const;
};

// A web app manifest's icons, as its JSON gives them; or why it is no manifest.
struct WebManifest {
    std::vector<ManifestIcon> icons;
    QString error;
};
WebManifest parseManifest(const QByteArray& json);

// The manifest's text with the icons added to its icons array (which is made when missing), and
// every other byte of it as it was: its other members, their order, its spacing.
std::optional<QByteArray> withIcons(const QByteArray& json, const std::vector<ManifestIcon>& added);

// A manifest holding only the icons.
QByteArray manifestOf(const std::vector<ManifestIcon>& icons);

} // namespace quorva
