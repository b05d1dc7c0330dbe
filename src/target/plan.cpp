#include "target/plan.h"

namespace quorva {

void Plan::add(const QString& path, QByteArray bytes)
{
    files.push_back({path, std::move(bytes)});
}

const PlannedFile* Plan::find(const QString& path) const
{
    for (const PlannedFile& file : files)
        if (file.path == path)
            return &file;
    return nullptr;
}

std::size_t Plan::byteCount() const
{
    std::size_t bytes = 0;
    for (const PlannedFile& file : files)
        bytes += static_cast<std::size_t>(file.bytes.size());
    return bytes;
}

} // namespace quorva
