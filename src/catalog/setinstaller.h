#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <map>
#include <optional>

namespace quorva {

// A set as it goes into a catalog: its Contents.json and the bytes of every file it names.
struct SetFiles {
    QByteArray contents;
    std::map<QString, QByteArray> files;
};

// Readies an asset catalog to take sets: makes it with its own Contents.json when it is missing
// (its parent folder must exist), and removes the staging folders that killed runs left in it.
// Gives a one-line reason naming the catalog when it can't.
std::optional<QString> openCatalog(const std::filesystem::path& catalog);

// Puts the set into CATALOG/FOLDER whole: it is written completely into a hidden staging folder
// beside the old set, which Xcode ignores, and swapped in with one rename, so that at every
// moment the folder is the whole old set or the whole new one; files only the old set had go
// with it. A set folder that holds anything its Contents.json does not name (a subfolder, a
// file of the user's) is not replaced unless force is given. Nothing else in the catalog is
// touched. Gives a one-line reason naming the set folder when the set was not put in.
std::optional<QString> installSet(const std::filesystem::path& catalog, const QString& folder, const SetFiles& set,
                                  bool force);

// Puts a folder of files (named by paths inside it, at most one folder deep) into PARENT/FOLDER
// whole, in the same way: staged beside it, swapped in with one rename, the old one gone. what
// names it in the reason given when it can't ("set", "icon").
std::optional<QString> installFolder(const std::filesystem::path& parent, const QString& folder,
                                     const std::map<QString, QByteArray>& files, const QString& what);

// Removes the staging folders that killed runs left in the folder.
void removeAbandonedStaging(const std::filesystem::path& folder);

} // namespace quorva
