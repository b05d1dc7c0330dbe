// Every output as a target: it gives the same bytes every time, on every machine, and a run that
// fails anywhere leaves the project as it was.
#include "cli/commandline.h"
#include "cli/generatecommand.h"
#include "cli/kindcommand.h"
#include "support/paths.h"
#include "target/installer.h"

#include "testsupport.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

// A target as a row: the command that writes it into a project, and the digest of the tree it
// writes from the new source (each file's path below the project and the SHA-256 of its bytes,
// in order), which holds on any machine with the same libraries.
struct TargetRow {
    const char* name;
    QStringList arguments; // "{source}" and "{project}" stand for the source image and the project
    const char* digest;
};

std::vector<TargetRow> targets()
{
    return {
        {"classicSet",
         {"appicon", "{source}", "{project}/out", "--background", "white"},
         "6306247d22f69d2eca28e61b7e79d0b0cca7f120895658fbe09618931e718de1"},
        {"singleSizeWithAppearances",
         {"appicon", "{source}", "{project}/out", "--single-size", "--background", "white", "--dark", "--tinted"},

         "27edc146f69e641742d3ac48543baa2b7263eb06fc0ea896469212c80d808d06"},
        {"everyApplePlatform",
         {"appicon", "{source}", "{project}/out", "--platform", "ios,macos,watchos", "--background", "white"},

         "42306c5a3154523b1fc1b21d1d4f70ef519c291ab6d0143fe69e9c1e58d062cc"},
        {"appIconIntoCatalog",
         {"appicon", "{source}", "--into", "{project}/Assets.xcassets", "--background", "white"},

         "9453b8e0c244c19c848f7d823d950f921359b79aaa2647ce513d13829654ff20"},
        {"iconComposerFile",
         {"appicon", "{source}", "--icon-composer", "{project}", "--background", "white"},
         "16f9df724cb080b25c7e8434b5424569fa96ffa9b38d07653b0b05ead2f16f9b"},
        {"imageSet",
         {"imageset", "{source}", "{project}/out", "--name", "logo"},
         "d26c8425d4d0e6d7c684484800cd49a67ceedeeff993180daacc279e92e6d84a"},
        {"imageSetIntoCatalog",
         {"imageset", "{source}", "--into", "{project}/Assets.xcassets", "--name", "logo"},

         "3898aa21f1b40713f7572135a3652989ee07837c32453ae56fed603aef28bb2a"},
        {"windowsIco",
         {"ico", "{source}", "{project}/out/icon.ico"},
         "cc97ea72efd9f3760d38d8ab435c6364f1608f85f8789151dc1a54601bf6c3ab"},
        {"macIcns",
         {"icns", "{source}", "{project}/out/icon.icns"},
         "e4ee3336171fa87264a0132f8e7730ae569b19fcd546a51f69c8e441a50c2efb"},
        {"linuxHicolorTheme",
         {"linux", "{source}", "{project}/share", "--id", "org.example.App"},
         "f4c2777552f7f4861e5f6679431e261339d186648b521647da3ab03d67ca51ce"},
        {"webSite",
         {"web", "{source}", "{project}/site"},
         "07b5db0fc82029329cc8962ce3fc9b08c3af8ae6507688ea1a2c11923a40d738"},
        {"androidIcon",
         {"android", "{source}", "{project}/app/src/main/res", "--monochrome", "--notification"},

         "ccb02d38d79d11dbdc50e66942a7efd1153c19d0ee91226444a247d4c979b265"},
    };
}

// The digest of a tree: its files' paths and the SHA-256 of their bytes, in order.
QString treeDigest(const fs::path& folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const auto& [path, bytes] : test::treeOf(folder))
        hash.addData((path + QLatin1Char('\0')
                      + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())
                      + QLatin1Char('\n'))
                         .toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

class Target : public ::testing::TestWithParam<TargetRow> {
protected:
    test::Scratch scratch;
    test::CapturedLines printed; // what the writers print to standard output, kept out of the log
    QString oldSource = scratch.savePng("old.png", test::gradientImage(256, 256, 24));
    QString newSource = scratch.savePng("new.png", test::randomImage(256, 256, 3));

    void TearDown() override { setInstallFaultForTesting({}); }

    fs::path project(const char* name)
    {
        const fs::path folder = scratch / name;
        fs::create_directories(folder / "app/src/main/res");
        return folder;
    }
    GenerateOutcome run(const QString& source, const fs::path& project)
    {
        QStringList arguments = GetParam().arguments;
        arguments.replaceInStrings(QStringLiteral("{source}"), source);
        arguments.replaceInStrings(QStringLiteral("{project}"), test::str(project));
        if (const OutputKind* kind = commandKind(arguments.front())) {
            const KindCommand command = parseKindCommand(*kind, arguments.mid(1));
            EXPECT_FALSE(command.error) << command.error.value_or(QString()).toStdString();
            return runKindCommand(*kind, command.options);
        }
        const CommandLine line = parseCommandLine(arguments);
        EXPECT_EQ(line.action, CommandLine::Action::Generate) << line.error.toStdString();
        return runGenerate(line.request);
    }
    // The files the installer stages, in order, when the new source is written over the old, and
    // the files and folders it swaps in.
    std::pair<std::vector<fs::path>, std::vector<fs::path>> steps()
    {
        const fs::path copy = project("copy");
        EXPECT_EQ(run(oldSource, copy).exitStatus, 0);
        std::vector<fs::path> staged, swapped;
        setInstallFaultForTesting([&](const fs::path& file, bool commit) {
            (commit ? swapped : staged).push_back(file.lexically_relative(copy));
            return 0;
        });
        EXPECT_EQ(run(newSource, copy).exitStatus, 0);
        setInstallFaultForTesting({});
        return {staged, swapped};
    }
};

// Where the faults strike: the first, a middle and the last file; under a sanitizer, whose
// runtime makes each run many times slower, the first and the last.
#ifdef QUORVA_SANITIZED
constexpr int faultPoints[] = {0, 2};
#else
constexpr int faultPoints[] = {0, 1, 2};
#endif

std::size_t nthOf(std::size_t count, int at)
{
    return at == 0 ? 0 : at == 1 ? count / 2 : count - 1;
}

} // namespace

TEST_P(Target, givesTheSameBytesEveryTime_theSameOnEveryMachine)
{
    const fs::path first = project("first"), second = project("second");
    ASSERT_EQ(run(newSource, first).exitStatus, 0);
    ASSERT_EQ(run(newSource, second).exitStatus, 0);
    EXPECT_EQ(test::differences(test::snapshotOf(first), test::snapshotOf(second)), QStringList{});
    EXPECT_GE(test::filesBelow(first).size(), 1);
    EXPECT_EQ(treeDigest(first), QLatin1String(GetParam().digest));
}

// A failure at the first, a middle and the last file, of every kind the disk can give.
TEST_P(Target, aRunThatFailsAnywhere_leavesTheProjectAsItWas_andSaysSoOnce)
{
    const auto [staged, swapped] = steps();
    ASSERT_GE(staged.size(), 1u);
    ASSERT_GE(swapped.size(), 1u);
    const fs::path folder = project("project");
    ASSERT_EQ(run(oldSource, folder).exitStatus, 0);
    // The files of the old run that the new one replaces: those a read-only bit or a link can guard.
    std::vector<fs::path> replaced;
    for (const fs::path& file : staged)
        if (fs::is_regular_file(folder / file))
            replaced.push_back(file);
    ASSERT_GE(replaced.size(), 1u);
    const fs::path outside = scratch / "outside.png";
    test::writeBytes(outside, "someone else's");

    const auto expectUnchanged
        = [&](const std::string& fault, const std::function<void()>& plant, const std::function<void()>& unplant) {
              plant();
              const test::Snapshot before = test::snapshotOf(folder);
              const GenerateOutcome outcome = run(newSource, folder);
              setInstallFaultForTesting({});
              EXPECT_EQ(outcome.exitStatus, 1) << fault;
              EXPECT_EQ(outcome.errors.size(), 1) << fault << ": " << outcome.errors.join('\n').toStdString();
              EXPECT_EQ(test::differences(before, test::snapshotOf(folder)), QStringList{}) << fault;
              unplant();
          };
    for (const int at : faultPoints) {
        for (const bool commit : {false, true}) {
            const std::size_t nth = nthOf((commit ? swapped : staged).size(), at);
            expectUnchanged((commit ? "a rename that fails at step " : "a full disk at file ") + std::to_string(nth),
                            [nth, commit] {
                                setInstallFaultForTesting(
                                    [nth, commit, count = std::size_t(0)](const fs::path&, bool now) mutable {
                                        return now == commit && count++ == nth ? ENOSPC : 0;
                                    });
                            },
                            [] {});
        }
        const fs::path file = folder / replaced[nthOf(replaced.size(), at)];
        expectUnchanged(
            "read-only " + file.string(), [&] { fs::permissions(file, fs::perms::owner_read); },
            [&] { fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write); });
        const fs::path aside = scratch / ("aside-" + std::to_string(at));
        expectUnchanged(
            "a link in place of " + file.string(),
            [&] {
                fs::rename(file, aside);
                fs::create_symlink(outside, file);
            },
            [&] {
                fs::remove(file);
                fs::rename(aside, file);
            });
    }
    EXPECT_EQ(test::readBytes(outside), "someone else's");
}

INSTANTIATE_TEST_SUITE_P(EveryOutput, Target, ::testing::ValuesIn(targets()),
                         [](const auto& info) { return std::string(info.param.name); });
