#pragma once

#include "image/imageloading.h"

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

namespace quorva {

// A project's images, each read and decoded once however many outputs take it, by whichever
// thread asks first; the others wait for it.
class SourceImages {
public:
    explicit SourceImages(std::filesystem::path root) : m_root(std::move(root)) {}

    // An image read from its path (relative to the root, or absolute); when it can't be read, a
    // line naming it and why. digest: of the file's bytes, what its outputs are made from.
    struct Source {
        LoadedImage loaded;
        QByteArray digest;
    };
    const Source& source(const QString& path);
    const LoadedImage& load(const QString& path) { return source(path).loaded; }
    // An image already read at a path (the one the window shows): taken for it, not read again.
    void provide(const QString& path, ImageRef image);

private:
    struct Entry {
        std::once_flag once;
        Source source;
    };
    std::filesystem::path m_root;
    std::mutex m_mutex;
    std::map<QString, std::unique_ptr<Entry>> m_loaded;
};

} // namespace quorva
