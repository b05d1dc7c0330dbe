#pragma once

#include "png/pngstructure.h"
#include "support/filedescriptor.h"

#include <QString>

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>

namespace quorva {

// What a catalog check learns of one image file of a set.
struct ImageFileFacts {
    enum class State {
        Png,         // a PNG file: see png, whole or not
        OtherFormat, // no PNG data: another image format named in otherFormat, or none known
        Missing,     // no such file, or no file but a folder or such
        Unreadable,  // there, but it can't be read (permissions)
        LinkOutside, // a symbolic link that leads out of the catalog
    } state
        = State::Missing;
    PngStructure png;
    QString otherFormat;
    QString reason; // for Missing and Unreadable: the system's reason; for LinkOutside: where it leads
    // For a whole PNG with an alpha channel, once asked: whether any pixel is not fully opaque.
    std::optional<bool> transparentPixels;
};

// Reads the image files of the sets of one check run. Identical files, as copied sets and icons
// shared between targets are, are read only once: the facts of a file are kept under its size and
// two checksums of its bytes.
class ImageFiles {
public:
    // The facts of the file `name` in the open set folder `set` (whose path is setPath). A link is
    // followed while it stays inside `catalog`. pixels: also tell whether a pixel is transparent.
    std::shared_ptr<const ImageFileFacts> facts(const FileDescriptor& set, const std::filesystem::path& setPath,
                                                const QString& name, const std::filesystem::path& catalog, bool pixels);

private:
    using Key = std::tuple<qint64, std::uint32_t, std::uint32_t>;
    std::mutex m_mutex;
    std::map<Key, std::shared_ptr<ImageFileFacts>> m_known;
};

} // namespace quorva
