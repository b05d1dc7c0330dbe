#include "target/outputkind.h"

#include "support/fileio.h"
#include "support/paths.h"

namespace quorva {
namespace fs = std::filesystem;

QString KindInputs::nameOf(const fs::path& path) const
{
    return displayPath(path.lexically_normal().lexically_relative(m_base.lexically_normal()));
}

std::optional<QByteArray> KindInputs::read(const fs::path& path, qint64 maxBytes)
{
    const std::optional<QByteArray> bytes = readSmallFile(path, maxBytes);
    m_recorded.emplace_back(nameOf(path), bytes);
    return bytes;
}

bool KindInputs::exists(const fs::path& path)
{
    const bool there = isPresent(path);
    m_recorded.emplace_back(nameOf(path), there ? std::optional(QByteArray()) : std::nullopt);
    return there;
}

void KindInputs::note(const QString& name, const QByteArray& bytes)
{
    m_recorded.emplace_back(name, bytes);
}

QString KindRequest::text(const QString& key, const QString& fallback) const
{
    const auto found = options.find(key);
    return found == options.end() || found->second.text().isEmpty() ? fallback : found->second.text();
}

bool KindRequest::flag(const QString& key) const
{
    const auto found = options.find(key);
    return found != options.end() && found->second.flag();
}

std::optional<QString> KindRequest::file(const QString& key) const
{
    const auto found = options.find(key);
    if (found == options.end() || found->second.isBool() || found->second.text().isEmpty())
        return std::nullopt;
    return found->second.text();
}

bool KindRequest::wanted(const QString& key) const
{
    const auto found = options.find(key);
    return found != options.end() && (found->second.flag() || !found->second.text().isEmpty());
}

fs::path KindRequest::path(const QString& key) const
{
    return base / toPath(text(key));
}

const SourceImages::Source& KindRequest::image(const QString& key) const
{
    const SourceImages::Source& source = images.source(text(key));
    inputs.note(text(key), source.digest);
    return source;
}

} // namespace quorva
