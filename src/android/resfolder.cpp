#include "android/resfolder.h"

#include "support/fileio.h"
#include "support/paths.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <fcntl.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxValuesBytes = 4 << 20;

} // namespace

FolderQualifiers qualifiersOf(const QString& folder)
{
    static const QRegularExpression version(QStringLiteral("^v(\\d+)$"));
    FolderQualifiers qualifiers;
    const QStringList parts = folder.split(QLatin1Char('-'));
    for (const QString& part : parts.mid(1)) {
        if (const QRegularExpressionMatch match = version.match(part); match.hasMatch())
            qualifiers.version = match.captured(1).toInt();
        else if (part.endsWith(QLatin1String("dpi")) && part != QLatin1String("anydpi")
                 && part != QLatin1String("nodpi"))
            qualifiers.density = part;
    }
    return qualifiers;
}

bool isBitmapFile(const QString& file)
{
    return file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)
        || file.endsWith(QLatin1String(".webp"), Qt::CaseInsensitive);
}

QString resourceName(const QString& file)
{
    return file.section(QLatin1Char('.'), 0, 0);
}

ResFolder::ResFolder(const fs::path& res) : m_res(res), m_fd(::open(res.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (!m_fd.isOpen())
        return;
    for (const std::string& entry : namesIn(m_fd)) {
        const QString name = QString::fromStdString(entry);
        FileDescriptor sub;
        if (name.startsWith(QLatin1Char('.')) || openFolderIn(m_fd, res, entry, res, false, sub))
            continue;
        std::set<QString>& files = m_files[name];
        for (const std::string& file : namesIn(sub))
            if (!file.starts_with('.'))
                files.insert(QString::fromStdString(file));
        m_folders[name] = std::move(sub);
    }
    for (const QString& folder : foldersOf(QStringLiteral("values")))
        for (const QString& file : m_files.at(folder))
            if (file.endsWith(QLatin1String(".xml")))
                readValues(folder, file);
}

fs::path ResFolder::path(const QString& folder, const QString& file) const
{
    return m_res / toPath(folder) / toPath(file);
}

std::vector<QString> ResFolder::foldersOf(const QString& type) const
{
    std::vector<QString> found;
    for (const auto& [name, files] : m_files)
        if (name == type || name.startsWith(type + QLatin1Char('-')))
            found.push_back(name);
    return found;
}

std::optional<QString> ResFolder::densityFolder(const QString& type, const QString& qualifier) const
{
    const QString base = type + QLatin1Char('-') + qualifier;
    for (const auto& [name, files] : m_files)
        if (name == base || name.startsWith(base + QLatin1Char('-')))
            return name;
    return std::nullopt;
}

std::optional<QString> ResFolder::fileOf(const QString& folder, const QString& resource) const
{
    const auto found = m_files.find(folder);
    if (found == m_files.end())
        return std::nullopt;
    for (const QString& file : found->second)
        if (resourceName(file) == resource)
            return file;
    return std::nullopt;
}

bool ResFolder::defines(const QString& type, const QString& name) const
{
    return m_values.count({type, name}) || !definitionsOf(type, name).empty();
}

std::vector<std::pair<QString, QString>> ResFolder::definitionsOf(const QString& type, const QString& name) const
{
    std::vector<std::pair<QString, QString>> found;
    for (const QString& folder : foldersOf(type))
        if (const auto file = fileOf(folder, name))
            found.emplace_back(folder, *file);
    return found;
}

QStringList ResFolder::filesDefiningColour(const QString& colour) const
{
    const auto found = m_values.find({QStringLiteral("color"), colour});
    return found == m_values.end() ? QStringList() : found->second;
}

QByteArray ResFolder::read(const QString& folder, const QString& file, qint64 maxBytes) const
{
    QByteArray bytes;
    const auto found = m_folders.find(folder);
    if (found == m_folders.end() || readFileIn(found->second, toPath(file), maxBytes, bytes) != 0)
        return {};
    return bytes;
}

// The resources of <resources>' children, as aapt2 reads them: <color name="…"> is a colour,
// <item type="drawable" name="…"> a drawable.
void ResFolder::readValues(const QString& folder, const QString& file)
{
    QXmlStreamReader reader(read(folder, file, maxValuesBytes));
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("resources"))
        return;
    while (reader.readNextStartElement()) {
        const QString element = reader.name().toString();
        const QString type
            = element == QLatin1String("item") ? reader.attributes().value(QLatin1String("type")).toString() : element;
        const QString name = reader.attributes().value(QLatin1String("name")).toString();
        if (!type.isEmpty() && !name.isEmpty())
            m_values[{type, name}] << folder + QLatin1Char('/') + file;
        reader.skipCurrentElement();
    }
}

} // namespace quorva
