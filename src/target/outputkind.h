#pragma once

#include "image/sourceimages.h"
#include "target/finding.h"
#include "target/installer.h"
#include "target/optionschema.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace quorva {

// One thing an output's files were made from, as its planner read it: a file's bytes (an image,
// a manifest), whether a file is there, a folder's names. Each can be read again from the disk
// to tell whether it is the same.
struct KindInput {
    enum class Kind { File, Presence, Listing } kind;
    QString path;      // relative to the request's base
    QByteArray digest; // of the bytes, the presence or the names; empty for a file that is not there
};
// The digest an input has on the disk now.
QByteArray currentDigest(const KindInput& input, const std::filesystem::path& base);
// "file:PATH", "presence:PATH", "listing:PATH", and back, as quorva.lock keeps them.
QString inputName(const KindInput& input);
std::optional<KindInput> inputNamed(const QString& name);

// What an output's planner read, recorded as it reads: every file, every look for one, every
// folder listed, so that the same inputs make the same files, and a change of any is seen.
class KindInputs {
public:
    explicit KindInputs(std::filesystem::path base) : m_base(std::move(base)) {}
    // A file's bytes, when it is a regular file of at most maxBytes.
    std::optional<QByteArray> read(const std::filesystem::path& path, qint64 maxBytes = 64 << 20);
    // Whether anything is at the path.
    bool exists(const std::filesystem::path& path);
    // A folder's entries' names, sorted (none for no folder), hidden ones left out.
    QStringList list(const std::filesystem::path& folder);
    // A file read elsewhere (an image, through SourceImages), by the digest of its bytes.
    void file(const std::filesystem::path& path, const QByteArray& digest);

    const std::vector<KindInput>& recorded() const { return m_recorded; }
    const std::filesystem::path& base() const { return m_base; }

private:
    QString nameOf(const std::filesystem::path& path) const;

    std::filesystem::path m_base;
    std::vector<KindInput> m_recorded;
};

// A request for an output's files, from any front end: its options as its schema reads them
// (with the shared ones, source among them), and the folder relative paths are read against.
struct KindRequest {
    ConfigTable options;
    std::filesystem::path base;
    SourceImages& images;
    KindInputs& inputs;
    // What the last sync wrote for it, by paths relative to base, where the project's lock keeps
    // that; nothing outside a project.
    std::optional<QStringList> earlier;
    // The tables of quorva.toml made as this one output (Apple's platforms of one set), and the
    // flavor it is made for; none outside a project.
    QStringList tables = {};
    std::optional<QString> flavor = std::nullopt;

    QString text(const QString& key, const QString& fallback = {}) const;
    bool flag(const QString& key) const;
    std::optional<QString> file(const QString& key) const; // a key's path, not a bool
    bool wanted(const QString& key) const;                 // true, or a path
    std::filesystem::path path(const QString& key) const;  // a key's path joined to base
    // The image a key names (source by default), recorded as an input; nothing with the line
    // that says why it can't be read.
    const SourceImages::Source& image(const QString& key = QStringLiteral("source")) const;
    std::optional<QColor> colour(const QString& key = QStringLiteral("background")) const;
    double padding() const; // the margin, as a fraction of the side
    // Pixel sides, each once, smallest first; the fallback where none are asked for.
    std::vector<int> sizes(const QString& key, const std::vector<int>& fallback) const;
};

// What an output is, made: the placements the installer takes, or why it can't be, and what the
// user should know.
struct KindOutput {
    std::vector<Placement> placements;
    QString where; // the place it writes, as the user names it
    std::optional<QString> failure;
    bool sourceFailed = false;      // the failure is the source's: it can't be read
    std::optional<QString> forcing; // what forcing a refused output would do
    QStringList notes;
    QStringList links;    // lines for the user to copy: a page's <link>s
    QStringList replaced; // files no run of Quorva's wrote that go, relative to base
    // The option that settles a refusal ("name", "monochrome"), for the front end to say how it
    // is given there: --name NAME, or name = "…" in [android].
    QString settledBy;

    static KindOutput failed(const QString& why)
    {
        KindOutput out;
        out.failure = why;
        return out;
    }
    // Refused as its source can't be read, with the line that says why.
    static KindOutput unreadable(const QString& why)
    {
        KindOutput out = failed(why);
        out.sourceFailed = true;
        return out;
    }
};

// What the platform's tools would refuse of an output's files as the disk has them: the places
// checked, for the count, and what was found; or why they can't be checked.
struct KindCheck {
    QStringList places;
    std::vector<Finding> findings;
    std::optional<QString> error;
};

// An output kind: its table in quorva.toml, its command, its options, and the one function that
// makes its files from a request, whichever front end asks.
struct OutputKind {
    const char* table;
    const char* command;
    // The options it takes, the shared ones among them, in the order quorva.toml lists them.
    const OptionSchema& (*options)();
    // The keys the command line takes as its arguments after the command: "source", "file".
    QStringList arguments;
    KindOutput (*make)(const KindRequest&);
    // Its files checked where a request says they are; null for files no tool refuses.
    KindCheck (*check)(const KindRequest&) = nullptr;
    // What its command writes, as --help says it, its arguments by their names there.
    const char* about = nullptr;
    // Whether a path that check is given holds its files, by what the path holds: the key of
    // its options the path is, else null.
    const char* (*heldAt)(const std::filesystem::path&) = nullptr;
    // The options its files at a path were made with, as init writes them into its table beside
    // the path: so that the next run makes them as they are.
    ConfigTable (*madeWith)(const std::filesystem::path&) = nullptr;
    // What its last arguments are called where it takes places after them: each the folder or
    // file of one of its options (placeKey says which), or a project's folder, for the places
    // that init finds there. Null for a kind whose arguments are all it takes.
    const char* places = nullptr;
    const char* (*placeKey)(const std::filesystem::path&) = nullptr;
};

} // namespace quorva
