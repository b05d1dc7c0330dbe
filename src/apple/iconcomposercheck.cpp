#include "apple/iconcomposercheck.h"

#include "png/pngstructure.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>
#include <set>

#include <fcntl.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxIconJsonBytes = 4 << 20;
constexpr qint64 maxLayerBytes = 256 << 20;

class IconCheck {
public:
    IconCheck(const fs::path& icon, const QString& shown) : m_icon(icon), m_shown(shown) {}

    std::vector<Finding> run()
    {
        const QString jsonPath = m_shown + QStringLiteral("/icon.json");
        m_folder = FileDescriptor(::open(m_icon.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        QByteArray json;
        const int failed = m_folder.isOpen() ? readFileIn(m_folder, "icon.json", maxIconJsonBytes, json) : errno;
        if (failed) {
            add(jsonPath, failed == EACCES ? "unreadable" : "bad-icon-json",
                QStringLiteral("the Icon Composer file's icon.json can't be read (%1)")
                    .arg(QString::fromLocal8Bit(std::strerror(failed))));
            return m_findings;
        }
        QJsonParseError parsed;
        const QJsonDocument document = QJsonDocument::fromJson(json, &parsed);
        if (parsed.error != QJsonParseError::NoError || !document.isObject()) {
            add(jsonPath, "bad-icon-json",
                QStringLiteral("it is not a JSON object (%1 at byte %2)").arg(parsed.errorString()).arg(parsed.offset));
            return m_findings;
        }
        const QJsonValue groups = document.object().value(QLatin1String("groups"));
        if (!groups.isArray()) {
            add(jsonPath, "bad-icon-json", QStringLiteral("it has no \"groups\" list"));
            return m_findings;
        }
        for (const QJsonValue& group : groups.toArray()) {
            const QJsonValue layers = group.toObject().value(QLatin1String("layers"));
            if (!group.isObject() || !layers.isArray()) {
                add(jsonPath, "bad-icon-json", QStringLiteral("a group is not an object with a \"layers\" list"));
                continue;
            }
            for (const QJsonValue& layer : layers.toArray())
                checkLayer(layer, jsonPath);
        }
        return m_findings;
    }

private:
    void add(const QString& path, const char* rule, const QString& message)
    {
        m_findings.push_back({Finding::Severity::Error, path, QLatin1String(rule), message});
    }

    void checkLayer(const QJsonValue& layer, const QString& jsonPath)
    {
        if (!layer.isObject()) {
            add(jsonPath, "bad-icon-json", QStringLiteral("a layer is not an object"));
            return;
        }
        const QJsonObject object = layer.toObject();
        QStringList names;
        if (object.value(QLatin1String("image-name")).isString())
            names << object.value(QLatin1String("image-name")).toString();
        for (const QJsonValue& special : object.value(QLatin1String("image-name-specializations")).toArray())
            if (special.toObject().value(QLatin1String("value")).isString())
                names << special.toObject().value(QLatin1String("value")).toString();
        if (names.isEmpty())
            add(jsonPath, "bad-icon-json", QStringLiteral("a layer names no image"));
        for (const QString& name : names) {
            if (!m_checked.insert(name).second)
                continue;
            std::error_code error;
            const QString shown = m_shown + QStringLiteral("/Assets/") + name;
            if (!isSingleComponent(name) || !fs::is_regular_file(m_icon / "Assets" / toPath(name), error)) {
                add(shown, "missing-file", QStringLiteral("icon.json names this image, and Assets/ does not hold it"));
                continue;
            }
            // actool stops on a layer image it can't decode.
            if (name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
                if (!m_assets.isOpen())
                    m_assets = FileDescriptor(::openat(m_folder.get(), "Assets", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
                QByteArray bytes;
                if (!m_assets.isOpen() || readFileIn(m_assets, toPath(name), maxLayerBytes, bytes) != 0)
                    continue;
                const PngStructure png = readPngStructure(bytes);
                if (!png.whole)
                    add(shown, "broken-png", QStringLiteral("it is not a whole PNG: %1").arg(png.problem));
            }
        }
    }

    fs::path m_icon;
    QString m_shown;
    FileDescriptor m_folder;
    FileDescriptor m_assets; // opened at the first PNG layer
    std::vector<Finding> m_findings;
    std::set<QString> m_checked;
};

} // namespace

std::vector<Finding> checkIconComposerFile(const fs::path& icon, const QString& shown)
{
    return IconCheck(icon, shown).run();
}

} // namespace quorva
