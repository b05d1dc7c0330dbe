#pragma once

// Projects laid out as each kind of project our users have keeps its icons, made file by file in
// a scratch folder: only the files that say what a project is and where its icons go.

#include "testsupport.h"

#include <QStringList>

#include <string>
#include <vector>

namespace quorva::test {

// An app target of an Xcode project: the catalog it copies, below the project's folder, and its
// icon's name.
struct XcodeApp {
    std::string name;
    std::string sdk; // iphoneos, macosx, watchos
    std::string catalogFolder;
    std::string icon = "AppIcon";
};

struct ProjectLayout {
    std::string name;    // "flutter"
    QStringList targets; // what init must find, as sync names them: "ios", "android"…
    std::string flavor;  // one of its flavors, when it has them
};
inline void PrintTo(const ProjectLayout& layout, std::ostream* out)
{
    *out << layout.name;
}

// The layouts the tests try: Flutter (flavors, a flutter_launcher_icons section), React Native,
// Capacitor, Tauri (its bundle.icon) and a native Xcode project of two targets.
const std::vector<ProjectLayout>& projectLayouts();

// Writes a layout into root, with the source image init finds.
void makeProject(const ProjectLayout& layout, const fs::path& root);

// A file with its folders.
void writeFile(const fs::path& file, const QByteArray& bytes);
// A round logo on transparency, side × side, as a project's icon source.
void logo(const fs::path& file, QRgb colour, int side = 512);
// A Gradle project with one app module: its manifest's <application> attributes, more of its
// build script.
void gradleApp(const fs::path& android, const QByteArray& manifestIcons, const QByteArray& buildScript = {});

// An Xcode project folder (NAME.xcodeproj) whose app targets copy their catalogs, each catalog
// made with an empty app icon set as Xcode makes one.
void makeXcodeProject(const fs::path& folder, const std::string& name, const std::vector<XcodeApp>& apps);

// Each kind of target as a table of quorva.toml, and the place it writes below the project.
struct KindRow {
    const char* table;
    const char* place;
    QStringList inputs; // what its files are made from besides its source, as quorva.lock names them
};
const std::vector<KindRow>& kindRows();
inline void PrintTo(const KindRow& row, std::ostream* out)
{
    *out << row.table;
}

// A project with a place for every kind of target at once (an Xcode project's iOS, macOS and
// watch apps, a Gradle app, a site, Tauri, Expo), and in art/ a transparent, an opaque, a small and
// a drawn source.
void allKindsProject(const fs::path& root);

} // namespace quorva::test
