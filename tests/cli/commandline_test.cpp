#include "cli/commandline.h"

#include <gtest/gtest.h>

using namespace quorva;
using Action = CommandLine::Action;

TEST(CommandLine, imageSetIsNamedAfterTheSourceUnlessToldOtherwise)
{
    const CommandLine named = parseCommandLine({"imageset", "shots/app.icon.jpeg", "out"});
    ASSERT_EQ(named.action, Action::Generate);
    EXPECT_EQ(named.request.kind, SetKind::ImageSet);
    EXPECT_EQ(named.request.assetName, QStringLiteral("app.icon"));
    EXPECT_EQ(named.request.destination, std::filesystem::path("out"));
    EXPECT_EQ(parseCommandLine({"imageset", "a.png", "out", "--name", "Hero"}).request.assetName,
              QStringLiteral("Hero"));
    EXPECT_EQ(parseCommandLine({"imageset", "--name=Hero", "a.png", "out"}).request.assetName, QStringLiteral("Hero"));
    EXPECT_EQ(parseCommandLine({"imageset", "--", "--odd.png", "out"}).request.sources.front(),
              std::filesystem::path("--odd.png"));
    EXPECT_EQ(parseCommandLine({"--help"}).action, Action::Help);
    EXPECT_EQ(parseCommandLine({"appicon", "--version"}).action, Action::Version);
}

// Each wrong command line with the reason it must be given.
struct WrongUsage {
    const char* name;
    QStringList words;
    const char* reason;
};

class CommandLineWrongUsage : public testing::TestWithParam<WrongUsage> {};

TEST_P(CommandLineWrongUsage, isRefusedWithItsReason)
{
    const CommandLine line = parseCommandLine(GetParam().words);
    EXPECT_EQ(line.action, Action::UsageError);
    EXPECT_EQ(line.error, QString::fromUtf8(GetParam().reason));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLineWrongUsage,
    testing::Values(
        WrongUsage{"nothing", {}, "no command given"},
        WrongUsage{"noSource", {"appicon"}, "appicon takes SOURCE and DEST"},
        WrongUsage{"extraArgument", {"appicon", "a.png", "b", "c"}, "appicon takes SOURCE and DEST"},
        WrongUsage{"unknownCommand", {"resize", "a.png", "out"}, "unknown command resize"},
        WrongUsage{"nameForAnAppIcon",
                   {"appicon", "a.png", "out", "--name", "x"},
                   "--name goes with imageset only; an app icon set in a catalog is named by --set"},
        WrongUsage{"nameWithoutValue", {"imageset", "a.png", "out", "--name"}, "--name needs a value"},
        WrongUsage{"nameWithSlash",
                   {"imageset", "a.png", "out", "--name", "a/b"},
                   "--name must be a non-empty name without '/'"},
        WrongUsage{"emptyName", {"imageset", "a.png", "out", "--name="}, "--name must be a non-empty name without '/'"},
        WrongUsage{"unknownOption", {"appicon", "a.png", "out", "--fast"}, "unknown option --fast"}),
    [](const testing::TestParamInfo<WrongUsage>& row) { return std::string(row.param.name); });
