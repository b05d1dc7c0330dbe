#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace quorva {

// One entry of a set's Contents.json. Texts are empty where the entry has no such key.
struct SetEntry {
    QString idiom;
    QString platform;
    QString size;        // points, "60x60"
    QString scale;       // "2x"
    QString role;        // watch slots: "notificationCenter", "appLauncher", …
    QString filename;    // empty: an empty slot
    QString luminosity;  // the value of a luminosity appearance: "dark", "tinted"
    QString appearances; // every appearance as "luminosity:dark" and the like, joined
    // Every key but the file and its scale ("idiom=watch;screen-width=>183;…"): entries of one
    // variant differ only in their scale.
    QString variant;
    bool hasAppearances = false;

    // The pixel size that the file of this slot must have, when size and scale tell it; an
    // entry without a scale is at 1x.
    bool expectedPixels(int& width, int& height) const;
    // The scale as a number ("2x" gives 2); 1 without one, 0 when it is no scale.
    double scaleFactor() const;
};

// The images of a set's Contents.json, or why it is not one.
struct SetContents {
    std::vector<SetEntry> entries;
    QString error;
};

SetContents parseSetContents(const QByteArray& json);

// The distinct files the entries name, in the order first named.
QStringList filesNamedIn(const SetContents& contents);

} // namespace quorva
