#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <optional>
#include <variant>
#include <vector>

namespace quorva {

// A value of an option, as the command line or quorva.toml gives it, with the line of quorva.toml
// it stands on (0 for one not read from a file).
struct ConfigValue {
    std::variant<bool, double, QString, std::vector<int>, QStringList> value;
    int line = 0;

    bool isBool() const { return std::holds_alternative<bool>(value); }
    bool sameValue(const ConfigValue& other) const { return value == other.value; }
    bool flag() const { return isBool() && std::get<bool>(value); }
    QString text() const { return std::holds_alternative<QString>(value) ? std::get<QString>(value) : QString(); }
    QStringList words() const
    {
        return std::holds_alternative<QStringList>(value) ? std::get<QStringList>(value) : QStringList();
    }
};
// A text value, as a front end or an import gives it: on no line of any file.
inline ConfigValue textValue(const QString& value)
{
    return ConfigValue{value, 0};
}
// An output's options by their keys: a table of quorva.toml, or what the command line gave.
using ConfigTable = std::map<QString, ConfigValue>;

// The most room an option of padding leaves around the art, in percent of the side: beyond it the
// art would be too small to tell at a launcher's or a taskbar's size.
inline constexpr int maxPaddingPercent = 40;

// What an option takes.
enum class OptionType {
    Flag,          // true or false; on the command line, given or not
    Padding,       // a percentage from 0 to maxPaddingPercent
    Output,        // a file or folder an output is written to (or read and written)
    Image,         // an image the icons are made from
    Colour,        // an opaque CSS colour
    ColourOrImage, // an opaque colour, else an image of its own
    FlagOrImage,   // true for the source's art, false, or an image of its own
    SetName,       // an asset catalog set's name
    Name,          // a name of a rule of its own (an Android resource's, an application ID)
    Choice,        // one of a few words
    Choices,       // some of a few words, in a list
    Dp,            // a length in dp, above 0 and at most most
    Sizes,         // pixel sides
    SlotKinds,     // kinds of slot of an app icon set: "car", "watch"
};

// One option of an output, as its flag (--KEY) and its key of quorva.toml take it: each output's
// options are one schema, so that both mean the same and refuse the same.
struct OptionSpec {
    const char* key;
    OptionType type;
    bool required = false;
    QStringList choices = {};
    // A Name's rule, kept where the fact is (Android's, the desktops'): why a name is none; and
    // what such a name is, for the messages.
    std::optional<QString> (*problem)(const QString&) = nullptr;
    const char* takes = nullptr;
    int most = 1024;            // Sizes: the largest side; Dp: the longest length
    const char* extension = ""; // Output: the file's name must end in it (".ico")
    // What it does, as --help says it, and what its value is called there ("APP_ID"); by its
    // type where that says enough.
    const char* help = nullptr;
    const char* valueName = nullptr;

    OptionSpec described(const char* text, const char* value = nullptr) const
    {
        OptionSpec option = *this;
        option.help = text;
        option.valueName = value ? value : valueName;
        return option;
    }
};
using OptionSchema = std::vector<OptionSpec>;

// The keys every output's table may take over from the project's own: the source, its
// background, its margin.
const OptionSchema& sharedOptions();
// One of them, for an output that takes only some.
const OptionSpec& sharedOption(const char* key);
// An output's own options followed by the shared ones, as its table lists them: an own option of
// a shared key (one of its own type) stands in its place. helps says what a shared one does for
// this output, where that is more than the shared words say.
OptionSchema withSharedOptions(OptionSchema own, const std::map<QString, const char*>& helps = {});
// Whether Mac icons lay the art into the macOS shape: "auto", "keep" or "apply", for the app
// icon sets and the .icns file alike.
const OptionSpec& macShapeOption();
const OptionSpec* findOption(const OptionSchema& schema, const QString& key);

// What an option takes, as the rest of "'padding' takes …"; on the command line, where paths may
// lie anywhere, or in quorva.toml.
QString typeText(const OptionSpec& option, bool commandLine = false);

// Where an option's paths must lie: outputs in the project, images in the repository that holds
// it, both given relative to the project. Nothing for paths of the command line, which may lie
// anywhere.
struct PathRules {
    std::filesystem::path project;
    std::filesystem::path repository;
};

// Whether a value, as its front end read it (a bool, a number, a text, a list), is one the option
// takes.
enum class ValueCheck {
    Taken,
    Wrong,          // of the wrong kind, or out of its range
    OutOfProject,   // an output's path that leads out of the project
    OutOfRepository // an image's path that leads out of the repository
};
ValueCheck checkValue(const OptionSpec& option, const ConfigValue& value, const PathRules* rules = nullptr);

// The value a flag's text gives, as the command line reads it: a percentage with or without its
// "%", sides as "16,32,48", words as "car,tv", true or false, else the text itself.
std::optional<ConfigValue> valueFromText(const OptionSpec& option, const QString& text);

} // namespace quorva
