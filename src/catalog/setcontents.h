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
    QString size;       // points, "60x60"
    QString scale;      // "2x"
    QString filename;   // empty: an empty slot
    QString luminosity; // the value of a luminosity appearance: "dark", "tinted"
    bool hasAppearances = false;

    // The pixel size that the file of this slot must have, when size and scale tell it; an
    // entry without a scale is at 1x.
    bool expectedPixels(int& width, int& height) const;
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
