// quorva.toml read against what each table takes, each mistake named with its line; and the
// targets a config makes, a flavor's among them.
#include "project/projectconfig.h"
#include "project/projecttarget.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

const QByteArray base = "source = \"icon.png\"\n\n[android]\nres = \"android/app/src/main/res\"\n";

struct MistakeRow {
    const char* name;
    QByteArray toml;
    const char* error; // the whole line reported
};

void PrintTo(const MistakeRow& row, std::ostream* out)
{
    *out << row.name;
}

class ConfigMistakes : public ::testing::TestWithParam<MistakeRow> {};

ProjectConfig configOf(const QByteArray& toml, const fs::path& root = "/nowhere")
{
    const ReadProjectConfig read = readProjectConfig(toml, root);
    EXPECT_TRUE(read.errors.isEmpty()) << read.errors.join('\n').toStdString();
    return read.config.value_or(ProjectConfig{});
}

} // namespace

TEST_P(ConfigMistakes, isAnErrorNamingItsLine)
{
    test::Scratch scratch;
    fs::create_directory_symlink("/tmp", scratch / "out");
    const ReadProjectConfig read = readProjectConfig(GetParam().toml, scratch.root);
    EXPECT_FALSE(read.config);
    EXPECT_EQ(read.errors, QStringList{QLatin1String(GetParam().error)});
}

INSTANTIATE_TEST_SUITE_P(
    Toml, ConfigMistakes,
    ::testing::Values(
        MistakeRow{"anUnknownKey", base + "name = \"x\"\nsize = 3\n", "quorva.toml:6: unknown key 'size' in [android]"},
        MistakeRow{"anUnknownTable", base + "\n[iphone]\ncatalog = \"x\"\n", "quorva.toml:6: unknown table [iphone]"},
        MistakeRow{"aMisspeltTable", base + "\n[androdi]\nres = \"x\"\n",
                   "quorva.toml:6: unknown table [androdi]; did you mean [android]?"},
        MistakeRow{"aMisspeltKey", base + "backgroud = \"#fff\"\n",
                   "quorva.toml:5: unknown key 'backgroud' in [android]; did you mean 'background'?"},
        MistakeRow{
            "aWrongType", base + "monochrome = 1\n",
            "quorva.toml:5: 'monochrome' in [android] takes true, false or an image's path inside the repository"},
        MistakeRow{"paddingOutOfRange", "padding = 45\n" + base,
                   "quorva.toml:1: 'padding' takes a percentage from 0 to 40"},
        MistakeRow{"aTranslucentColour", base + "background = \"#ff000080\"\n",
                   "quorva.toml:5: 'background' in [android] takes an opaque colour or an image's path inside the "
                   "repository"},
        MistakeRow{"aPathUpAndOut", base + "play-store = \"../store.png\"\n",
                   "quorva.toml:5: 'play-store' in [android] leads out of the project: ../store.png"},
        MistakeRow{"anAbsolutePath", "source = \"/etc/icon.png\"\n[web]\nfolder = \"web\"\n",
                   "quorva.toml:1: 'source' leads out of the repository that holds the project: /etc/icon.png"},
        MistakeRow{"aLinkOut", base + "\n[web]\nfolder = \"out/site\"\n",
                   "quorva.toml:7: 'folder' in [web] leads out of the project: out/site"},
        MistakeRow{"aTableWithoutItsPath", base + "\n[windows]\nsizes = [16, 32]\n",
                   "quorva.toml:6: [windows] needs 'file'"},
        MistakeRow{"noSource", "[web]\nfolder = \"web\"\n",
                   "quorva.toml:1: 'source' is not set: the image every icon is made from"},
        MistakeRow{"aFlavorsUnknownKey", base + "\n[flavors.dev.android]\nresources = \"x\"\n",
                   "quorva.toml:7: unknown key 'resources' in [flavors.dev.android]"},
        MistakeRow{"notToml", "source = \n",
                   "quorva.toml:1: Error while parsing key-value pair: expected value, saw '\\n'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectConfig, whatIsWrittenReadsBackTheSame_byteForByte)
{
    const QByteArray text = "source = \"assets/icon.svg\"\nbackground = \"#1E88E5\"\npadding = 5.5\n\n"
                            "[ios]\ncatalog = \"ios/Runner/Assets.xcassets\"\nsingle-size = true\ndark = true\n\n"
                            "[android]\nres = \"android/app/src/main/res\"\nmonochrome = \"assets/mono.svg\"\n\n"
                            "[linux]\nfolder = \"linux/icons\"\nid = \"org.example.App\"\nsizes = [16, 32, 256]\n\n"
                            "[flavors.dev]\nsource = \"assets/icon-dev.svg\"\n\n[flavors.dev.android]\nname = "
                            "\"ic_dev\"\n";
    const QByteArray written = writeProjectConfig(configOf(text));
    EXPECT_TRUE(written.endsWith(text)) << written.toStdString();
    EXPECT_EQ(writeProjectConfig(configOf(written)), written);
}

TEST(ProjectTargets, aFlavorWritesItsAndroidIconIntoItsSourceSet_andItsIosSetBesideTheMainOne)
{
    const ProjectConfig config = configOf(base
                                          + "\n[ios]\ncatalog = \"ios/Runner/Assets.xcassets\"\n\n[web]\nfolder = "
                                            "\"web\"\n\n[flavors.dev]\nsource = \"dev.png\"\n");
    const ProjectTargets all = projectTargets(config);
    ASSERT_TRUE(all.errors.isEmpty()) << all.errors.join('\n').toStdString();
    QStringList labels;
    for (const ProjectTarget& target : all.targets)
        labels << target.label();
    EXPECT_EQ(labels, (QStringList{"ios", "android", "web", "ios (dev)", "android (dev)"}));
    const ProjectTargets dev = projectTargets(config, {"dev"});
    ASSERT_EQ(dev.targets.size(), 2u);
    EXPECT_EQ(dev.targets[0].text("set"), QStringLiteral("AppIcon-dev"));
    EXPECT_EQ(dev.targets[1].text("res"), QStringLiteral("android/app/src/dev/res"));
    EXPECT_EQ(dev.targets[1].text("source"), QStringLiteral("dev.png"));
    EXPECT_EQ(projectTargets(config, {"prod"}).errors,
              QStringList{"there is no flavor prod in quorva.toml (its flavors: dev)"});
}

TEST(ProjectTargets, appleTablesOfOneSetAreOneSet_andTwoTargetsInOnePlaceAreAnError)
{
    const ProjectConfig shared
        = configOf("source = \"icon.png\"\n[ios]\ncatalog = \"App/Assets.xcassets\"\n[macos]\ncatalog = "
                   "\"App/Assets.xcassets\"\n");
    const ProjectTargets one = projectTargets(shared);
    ASSERT_EQ(one.targets.size(), 1u);
    EXPECT_EQ(one.targets[0].label(), QStringLiteral("ios+macos"));
    const ProjectConfig clash
        = configOf("source = \"icon.png\"\n[web]\nfolder = \"site\"\n[linux]\nfolder = \"site\"\nid = \"org.a.B\"\n");
    EXPECT_EQ(projectTargets(clash).errors, QStringList{"web and linux both write site"});
}
