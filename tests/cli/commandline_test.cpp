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

TEST(CommandLine, wrongUsage_isAUsageErrorWithAReason)
{
    for (const QStringList& words : std::vector<QStringList>{{},
                                                             {"appicon"},
                                                             {"appicon", "a.png"},
                                                             {"appicon", "a.png", "b", "c"},
                                                             {"resize", "a.png", "out"},
                                                             {"appicon", "a.png", "out", "--name", "x"},
                                                             {"imageset", "a.png", "out", "--name"},
                                                             {"imageset", "a.png", "out", "--name", "a/b"},
                                                             {"imageset", "a.png", "out", "--name="},
                                                             {"appicon", "a.png", "out", "--fast"}}) {
        const CommandLine line = parseCommandLine(words);
        EXPECT_EQ(line.action, Action::UsageError) << words.join(' ').toStdString();
        EXPECT_FALSE(line.error.isEmpty());
    }
}
