#include "cli/commandline.h"

#include <gtest/gtest.h>

using namespace quorva;
using Action = CommandLine::Action;

namespace {
CommandLine parse(const std::vector<const char*>& words)
{
    QStringList arguments;
    for (const char* word : words)
        arguments << QString::fromUtf8(word);
    return parseCommandLine(arguments);
}
} // namespace

TEST(CommandLine, imageSetIsNamedAfterTheSourceUnlessToldOtherwise)
{
    const CommandLine named = parse({"imageset", "shots/app.icon.jpeg", "out"});
    ASSERT_EQ(named.action, Action::Generate);
    EXPECT_EQ(named.request.kind, SetKind::ImageSet);
    EXPECT_EQ(named.request.assetName, QStringLiteral("app.icon"));
    EXPECT_EQ(named.request.destination, std::filesystem::path("out"));
    EXPECT_EQ(parse({"imageset", "a.png", "out", "--name", "Hero"}).request.assetName, QStringLiteral("Hero"));
    EXPECT_EQ(parse({"imageset", "--name=Hero", "a.png", "out"}).request.assetName, QStringLiteral("Hero"));
    EXPECT_EQ(parse({"imageset", "--", "--odd.png", "out"}).request.sources.front(), std::filesystem::path("--odd.png"));
    EXPECT_EQ(parse({"--help"}).action, Action::Help);
    EXPECT_EQ(parse({"appicon", "--version"}).action, Action::Version);
}

TEST(CommandLine, wrongUsage_isAUsageErrorWithAReason)
{
    for (const auto& words : std::vector<std::vector<const char*>>{
             {}, {"appicon"}, {"appicon", "a.png"}, {"appicon", "a.png", "b", "c"}, {"resize", "a.png", "out"},
             {"appicon", "a.png", "out", "--name", "x"}, {"imageset", "a.png", "out", "--name"},
             {"imageset", "a.png", "out", "--name", "a/b"}, {"imageset", "a.png", "out", "--name="},
             {"appicon", "a.png", "out", "--fast"}}) {
        const CommandLine line = parse(words);
        EXPECT_EQ(line.action, Action::UsageError) << (words.empty() ? "" : words.back());
        EXPECT_FALSE(line.error.isEmpty());
    }
}
