#include "image/sourceimages.h"

#include "support/paths.h"
#include "support/sha256.h"

#include <QFile>
#include <QFileInfo>

namespace quorva {

const SourceImages::Source& SourceImages::source(const QString& path)
{
    Entry* entry = nullptr;
    {
        std::lock_guard lock(m_mutex);
        std::unique_ptr<Entry>& slot = m_loaded[path];
        if (!slot)
            slot = std::make_unique<Entry>();
        entry = slot.get();
    }
    std::call_once(entry->once, [&] {
        const std::filesystem::path file = m_root / toPath(path);
        QFile device(displayPath(file));
        if (!QFileInfo(device.fileName()).isDir() && device.open(QIODevice::ReadOnly) && device.size() > 0) {
            const QByteArray bytes = device.readAll();
            entry->source.digest = sha256(bytes);
            entry->source.loaded = loadImage(bytes);
        } else {
            entry->source.loaded = loadImage(file); // says why it can't be read
        }
        if (!entry->source.loaded.image)
            entry->source.loaded.error = pathLine(file, entry->source.loaded.error);
    });
    return entry->source;
}

void SourceImages::provide(const QString& path, ImageRef image)
{
    std::lock_guard lock(m_mutex);
    auto entry = std::make_unique<Entry>();
    std::call_once(entry->once, [&] { entry->source.loaded.image = std::move(image); });
    m_loaded[path] = std::move(entry);
}

} // namespace quorva
