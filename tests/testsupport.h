#pragma once

#include "image/image.h"
#include "support/lineprinter.h"

#include <QImage>
#include <QRandomGenerator>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <ostream>

namespace quorva::test {

namespace fs = std::filesystem;

// A premultiplied colour gradient with a transparent border of `border` pixels and a
// half-transparent band, so that rescaling and alpha handling have something to get wrong.
QImage gradientImage(int width, int height, int border = 0);
QImage solidImage(int width, int height, QRgb colour);
// Random valid premultiplied pixels, reproducible from the seed.
QImage randomImage(int width, int height, unsigned seed, bool opaque = false);

QImage decodeFile(const fs::path& file);
void savePngTo(const fs::path& file, const QImage& image);
QByteArray readBytes(const fs::path& file);
void writeBytes(const fs::path& file, const QByteArray& bytes);
QString str(const fs::path& path);
// The colour type byte of a PNG file's IHDR chunk.
int pngColourType(const QByteArray& png);
// Every regular file below a folder, relative to it, sorted.
QStringList filesBelow(const fs::path& folder);
// Every regular file below a folder and its bytes, by relative path.
using Tree = std::map<QString, QByteArray>;
Tree treeOf(const fs::path& folder);

// Every entry below a folder, hidden ones and links too, with what it is: a file's mode and bytes,
// a link's target, a folder's mode. Equal snapshots: the folder is as it was, byte for byte.
using Snapshot = std::map<QString, QByteArray>;
Snapshot snapshotOf(const fs::path& folder);
// The entries in which two snapshots differ, to say what a failed run changed.
QStringList differences(const Snapshot& before, const Snapshot& after);

// The seventeen icons of a classic app icon set and their pixels, as Apple's slots give them
// (20 pt at 1x, 2x and 3x…), written out so that a wrong entry in the product's table shows.
const std::map<QString, QSize>& classicAppIconSizes();
// The files of a whole classic app icon set below a destination, and of an image set.
QStringList appIconTree();
QStringList imageSetTree(const QString& name);

// A scratch folder for one test.
struct Scratch {
    QTemporaryDir dir;
    fs::path root{dir.path().toStdString()};
    fs::path operator/(const std::string& name) const { return root / name; }
    QString savePng(const std::string& name, const QImage& image) const;
};

// A tmpfs of a few megabytes mounted on a folder while it lives, to be filled up: a disk that
// runs out of space under a write. mounted is false where the test may not mount one.
struct SmallDisk {
    explicit SmallDisk(const fs::path& folder, std::size_t bytes = 4 << 20);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    // Takes every free block but `spare` bytes' worth.
    void fill(std::size_t spare = 0) const;

    fs::path folder;
    bool mounted = false;
};

// A program run as a whole process; exitCode -1 when it did not end in time, -2 on a crash.
struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};
ProgramRun runProgram(const QString& program, const QStringList& arguments, int timeoutMs = 120000,
                      const fs::path& workingFolder = {});
// quorva-cli as the build made it; in a folder of the test's, as a user types it in a project.
ProgramRun runCli(const QStringList& arguments);
ProgramRun runCliIn(const fs::path& folder, const QStringList& arguments);
inline const QString cliPath = QStringLiteral(QUORVA_CLI_PATH);

// How many runs a kill test kills: fewer under a sanitizer, whose runtime makes each run many
// times slower and which looks for other faults than a kill's; the plain build runs them all.
#ifdef QUORVA_SANITIZED
inline constexpr int killRuns = 40;
#else
inline constexpr int killRuns = 120;
#endif

// Runs quorva-cli as the kill tests do: every tenth run (run % 10 == 9) is let finish, so that
// runs get through however slow the machine is; any other is killed at a moment drawn by random
// between its start and a little past a whole run's time. True when it was killed.
bool runCliKilledAtRandom(const QStringList& arguments, int run, std::chrono::microseconds wholeRun,
                          QRandomGenerator& random);

// Collects printed report lines while it lives.
class CapturedLines {
public:
    QStringList lines() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }

private:
    mutable std::mutex m_mutex;
    QStringList m_lines;
    ScopedLineSink m_sink{[this](const QString& line) {
        std::lock_guard lock(m_mutex);
        m_lines << line;
    }};
};

} // namespace quorva::test

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QSize& size, std::ostream* out)
{
    *out << size.width() << " × " << size.height();
}

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}
