#pragma once

#include "support/filedescriptor.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace quorva {

// A resource's name is its file's name up to the first dot: ic_launcher.png, ic_launcher.9.png.
QString resourceName(const QString& file);
// A bitmap resource, as a launcher icon's may be: PNG or WebP.
bool isBitmapFile(const QString& file);
// What a resource folder's name qualifies it by: a density ("hdpi"; none for anydpi and nodpi,
// whose files serve every density) and the Android version it is for (26 for -v26, else 0).
struct FolderQualifiers {
    QString density;
    int version = 0;
};
FolderQualifiers qualifiersOf(const QString& folder);
// The most of a resource's XML that is read: a launcher's definition is a few hundred bytes.
inline constexpr qint64 maxResXmlBytes = 4 << 20;
// The most of a resource's image that is read to check it: far more than a launcher's largest.
inline constexpr qint64 maxResImageBytes = 64 << 20;

// An app's res folder as Android's build sees it, read once: its folders and their files (hidden
// ones left out, as the build leaves them), and the colours its values files define. Links lead
// nowhere outside it.
class ResFolder {
public:
    explicit ResFolder(const std::filesystem::path& res);

    bool isOpen() const { return m_fd.isOpen(); }
    std::filesystem::path path(const QString& folder, const QString& file) const;

    // Each folder's files.
    const std::map<QString, std::set<QString>>& files() const { return m_files; }
    // The folders of a resource type, qualified or not: mipmap, mipmap-hdpi, mipmap-anydpi-v26.
    std::vector<QString> foldersOf(const QString& type) const;
    // The folder of a type for one density: mipmap-hdpi, or mipmap-hdpi-v4.
    std::optional<QString> densityFolder(const QString& type, const QString& qualifier) const;
    // The file of a folder that holds the resource, if any.
    std::optional<QString> fileOf(const QString& folder, const QString& resource) const;
    // Whether a resource of this type ("mipmap", "drawable", "color") and name is defined, by a
    // file or by an element of a values file.
    bool defines(const QString& type, const QString& name) const;
    // Each file that defines a resource of this type and name in a folder of its type, as
    // (folder, file): ("mipmap-hdpi", "ic_launcher.png").
    std::vector<std::pair<QString, QString>> definitionsOf(const QString& type, const QString& name) const;
    // The values files that define a colour, inside res: "values/colors.xml", "values-night/colors.xml".
    QStringList filesDefiningColour(const QString& colour) const;
    // A file of a folder, when it is a regular file of at most maxBytes; empty otherwise.
    QByteArray read(const QString& folder, const QString& file, qint64 maxBytes) const;

private:
    void readValues(const QString& folder, const QString& file);

    std::filesystem::path m_res;
    FileDescriptor m_fd;
    std::map<QString, FileDescriptor> m_folders;
    std::map<QString, std::set<QString>> m_files;
    std::map<std::pair<QString, QString>, QStringList> m_values; // (type, name): the values files defining it
};

} // namespace quorva
