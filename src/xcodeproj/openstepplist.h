#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace quorva {

struct PlistEntry;

// A value of an old-style (OpenStep) property list, the format of an Xcode project's
// project.pbxproj: a string, an array or a dictionary. Data (<…>) is kept as its hex text.
struct PlistValue {
    enum class Kind { String, Array, Dictionary } kind = Kind::String;
    QString string;
    std::vector<PlistValue> array;
    std::vector<PlistEntry> dictionary; // in the file's order

    bool isString() const { return kind == Kind::String; }
    bool isArray() const { return kind == Kind::Array; }
    bool isDictionary() const { return kind == Kind::Dictionary; }
    // The value under the key of a dictionary; null when there is none or this is no dictionary.
    const PlistValue* find(QStringView key) const;
    // The string under the key, empty when there is none.
    QString text(QStringView key) const;
};

struct PlistEntry {
    QString key;
    PlistValue value;
};

// The property list, or why the text is not one. A file from anywhere: nesting, size and every
// token are bounded, so that no input makes the parser crash, recurse without end or take long.
struct ParsedPlist {
    std::optional<PlistValue> value;
    QString error; // "… at line N"
};
ParsedPlist parseOpenStepPlist(const QByteArray& text);

} // namespace quorva
