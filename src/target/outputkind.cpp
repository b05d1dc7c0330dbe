#include "target/outputkind.h"

#include "image/csscolour.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "support/sha256.h"

#include <algorithm>

namespace quorva {
namespace fs = std::filesystem;

namespace {

QByteArray digestOf(const QByteArray& bytes)
{
    return sha256(bytes);
}

QStringList entriesOf(const fs::path& folder)
{
    QStringList names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (const QString name = displayPath(entry.path().filename()); !name.startsWith(QLatin1Char('.')))
            names << name;
    names.sort();
    return names;
}

constexpr qint64 maxInputBytes = 256 << 20;

} // namespace

QByteArray currentDigest(const KindInput& input, const fs::path& base)
{
    const fs::path path = base / toPath(input.path);
    switch (input.kind) {
    case KindInput::Kind::File: {
        const std::optional<QByteArray> bytes = readSmallFile(path, maxInputBytes);
        return bytes ? digestOf(*bytes) : QByteArray();
    }
    case KindInput::Kind::Presence:
        return isPresent(path) ? QByteArray("there") : QByteArray();
    case KindInput::Kind::Listing:
        return digestOf(entriesOf(path).join(QLatin1Char('\n')).toUtf8());
    }
    return {};
}

QString inputName(const KindInput& input)
{
    const char* kind = input.kind == KindInput::Kind::File ? "file"
        : input.kind == KindInput::Kind::Presence          ? "presence"
                                                           : "listing";
    return QLatin1String(kind) + QLatin1Char(':') + input.path;
}

std::optional<KindInput> inputNamed(const QString& name)
{
    const QString kind = name.section(QLatin1Char(':'), 0, 0);
    const QString path = name.section(QLatin1Char(':'), 1);
    if (kind == QLatin1String("file"))
        return KindInput{KindInput::Kind::File, path, {}};
    if (kind == QLatin1String("presence"))
        return KindInput{KindInput::Kind::Presence, path, {}};
    if (kind == QLatin1String("listing"))
        return KindInput{KindInput::Kind::Listing, path, {}};
    return std::nullopt;
}

QString KindInputs::nameOf(const fs::path& path) const
{
    return displayPath(path.lexically_normal().lexically_relative(m_base.lexically_normal()));
}

std::optional<QByteArray> KindInputs::read(const fs::path& path, qint64 maxBytes)
{
    const std::optional<QByteArray> bytes = readSmallFile(path, maxBytes);
    // What a check reads again has the same bound.
    const std::optional<QByteArray> bounded = bytes ? bytes : readSmallFile(path, maxInputBytes);
    m_recorded.push_back({KindInput::Kind::File, nameOf(path), bounded ? digestOf(*bounded) : QByteArray()});
    return bytes;
}

bool KindInputs::exists(const fs::path& path)
{
    const bool there = isPresent(path);
    m_recorded.push_back({KindInput::Kind::Presence, nameOf(path), there ? QByteArray("there") : QByteArray()});
    return there;
}

QStringList KindInputs::list(const fs::path& folder)
{
    const QStringList names = entriesOf(folder);
    m_recorded.push_back({KindInput::Kind::Listing, nameOf(folder), digestOf(names.join(QLatin1Char('\n')).toUtf8())});
    return names;
}

void KindInputs::file(const fs::path& path, const QByteArray& digest)
{
    m_recorded.push_back({KindInput::Kind::File, nameOf(path), digest});
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
    inputs.file(base / toPath(text(key)), source.digest);
    return source;
}

std::optional<QColor> KindRequest::colour(const QString& key) const
{
    const QColor colour = parseCssColour(text(key));
    return colour.isValid() ? std::optional(colour) : std::nullopt;
}

double KindRequest::padding() const
{
    const auto found = options.find(QStringLiteral("padding"));
    const double* percent = found == options.end() ? nullptr : std::get_if<double>(&found->second.value);
    return percent ? *percent / 100 : 0;
}

std::vector<int> KindRequest::sizes(const QString& key, const std::vector<int>& fallback) const
{
    const auto found = options.find(key);
    const auto* sides = found == options.end() ? nullptr : std::get_if<std::vector<int>>(&found->second.value);
    if (!sides || sides->empty())
        return fallback;
    std::vector<int> out = *sides;
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

} // namespace quorva
