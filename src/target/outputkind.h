#pragma once

#include "image/sourceimages.h"
#include "target/installer.h"
#include "target/optionschema.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace quorva {

// What an output's planner read besides its images, for quorva.lock: each file by its path, and
// whether it was there; the same inputs give the same files.
class KindInputs {
public:
    explicit KindInputs(std::filesystem::path base) : m_base(std::move(base)) {}
    // A file's bytes, recorded, when it is a regular file of at most maxBytes.
    std::optional<QByteArray> read(const std::filesystem::path& path, qint64 maxBytes = 64 << 20);
    // Whether a file or folder is there, recorded.
    bool exists(const std::filesystem::path& path);
    // Something else the files are made from, by a name of its own ("res listing").
    void note(const QString& name, const QByteArray& bytes);

    // Each input by its name, with its bytes, or none for a file that is not there.
    const std::vector<std::pair<QString, std::optional<QByteArray>>>& recorded() const { return m_recorded; }

private:
    QString nameOf(const std::filesystem::path& path) const;

    std::filesystem::path m_base;
    std::vector<std::pair<QString, std::optional<QByteArray>>> m_recorded;
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

    QString text(const QString& key, const QString& fallback = {}) const;
    bool flag(const QString& key) const;
    std::optional<QString> file(const QString& key) const; // a key's path, not a bool
    bool wanted(const QString& key) const;                 // true, or a path
    std::filesystem::path path(const QString& key) const;  // a key's path joined to base
    // The image a key names (source by default), recorded as an input; nothing with the line
    // that says why it can't be read.
    const SourceImages::Source& image(const QString& key = QStringLiteral("source")) const;
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

    static KindOutput failed(const QString& why)
    {
        KindOutput out;
        out.failure = why;
        return out;
    }
};

// An output kind: its table in quorva.toml, its command, its options, and the one function that
// makes its files from a request, whichever front end asks.
struct OutputKind {
    const char* table;
    const char* command;
    const OptionSchema& (*options)();
    KindOutput (*make)(const KindRequest&);
};

} // namespace quorva
