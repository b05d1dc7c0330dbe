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
}

TEST(CommandLine, helpAndVersionWinWhereverTheyStand)
{
    EXPECT_EQ(parseCommandLine({"--help"}).action, Action::Help);
    EXPECT_EQ(parseCommandLine({"check", "-h"}).action, Action::Help);
    EXPECT_EQ(parseCommandLine({"appicon", "--version"}).action, Action::Version);
}

TEST(CommandLine, appearanceFilesAreTheArgumentsBeyondSourceAndDest)
{
    const CommandLine line
        = parseCommandLine({"appicon", "--single-size", "--dark", "d.png", "src.png", "out", "--tinted"});
    ASSERT_EQ(line.action, Action::Generate) << line.error.toStdString();
    EXPECT_EQ(line.request.dark.file, std::filesystem::path("d.png"));
    EXPECT_TRUE(line.request.tinted.wanted && !line.request.tinted.file);
    EXPECT_EQ(line.request.sources.front(), std::filesystem::path("src.png"));
}

TEST(CommandLine, aSetNameGivenAsItsFolderIsTakenAsTheName)
{
    EXPECT_EQ(parseCommandLine({"appicon", "a.png", "--into", "A.xcassets", "--set", "Alt.appiconset"})
                  .request.iconSetName,
              QStringLiteral("Alt"));
}

TEST(CommandLine, checkTakesItsFormatStrictnessAndProject)
{
    const CommandLine line
        = parseCommandLine({"check", "A.xcassets", "--format", "sarif", "--strict", "--project", "App.xcodeproj"});
    ASSERT_EQ(line.action, Action::Check) << line.error.toStdString();
    EXPECT_EQ(line.check.format, CheckFormat::Sarif);
    EXPECT_TRUE(line.check.strict);
    EXPECT_EQ(line.check.project, std::filesystem::path("App.xcodeproj"));
    EXPECT_EQ(parseCommandLine({"check", "A.xcassets", "--json"}).check.format, CheckFormat::Json);
}

// Colours as CSS reads them.
struct ColourRow {
    const char* name;
    const char* text;
    QRgb argb; // 0: no colour
};

void PrintTo(const ColourRow& row, std::ostream* out)
{
    *out << row.text;
}

class CssColours : public testing::TestWithParam<ColourRow> {};

TEST_P(CssColours, areReadAsCssReadsThem)
{
    const QColor colour = parseCssColour(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(colour.isValid() ? colour.rgba() : 0u, GetParam().argb);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CssColours,
    testing::Values(ColourRow{"sixDigits", "#204060", 0xff204060}, ColourRow{"threeDigits", "#f80", 0xffff8800},
                    ColourRow{"alphaLast", "#ff0000ff", 0xffff0000}, ColourRow{"halfAlpha", "#00ff0080", 0x8000ff00},
                    ColourRow{"function", "rgb(32, 64, 96)", 0xff204060},
                    ColourRow{"percentages", "rgb(100%, 0%, 50%)", 0xffff0080}, ColourRow{"name", "navy", 0xff000080},
                    ColourRow{"nameInCapitals", "RebeccaPurple", 0xff663399}, ColourRow{"notAColour", "blurple", 0},
                    ColourRow{"qtOnlyForm", "#12345", 0}, ColourRow{"outOfRange", "rgb(300, 0, 0)", 0}),
    [](const testing::TestParamInfo<ColourRow>& row) { return std::string(row.param.name); });

// Each wrong command line with the reason it must be given.
struct WrongUsage {
    const char* name;
    QStringList words;
    const char* reason;
};

void PrintTo(const WrongUsage& row, std::ostream* out)
{
    *out << row.name;
}

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
        WrongUsage{"unknownCommand", {"resize", "a.png", "out"}, "unknown command 'resize'"},
        WrongUsage{"nameForAnAppIcon",
                   {"appicon", "a.png", "out", "--name", "x"},
                   "--name goes with imageset only; an app icon set in a catalog is named by --set"},
        WrongUsage{"nameWithoutValue", {"imageset", "a.png", "out", "--name"}, "--name needs a value"},
        WrongUsage{"nameWithSlash",
                   {"imageset", "a.png", "out", "--name", "a/b"},
                   "--name takes a set's name (no '/', not starting with '.'), not 'a/b'"},
        WrongUsage{"emptyName",
                   {"imageset", "a.png", "out", "--name="},
                   "--name takes a set's name (no '/', not starting with '.'), not ''"},
        WrongUsage{"unknownOption", {"appicon", "a.png", "out", "-x"}, "unknown option '-x'"},
        WrongUsage{"unknownLongOption", {"appicon", "a.png", "out", "--fast"}, "unknown option '--fast'"},
        WrongUsage{"optionTwice", {"imageset", "a.png", "out", "--name", "a", "--name", "b"}, "--name is given twice"},
        WrongUsage{"hiddenSet",
                   {"appicon", "a.png", "--into", "A.xcassets", "--set", ".Icon"},
                   "--set takes a set's name (no '/', not starting with '.'), not '.Icon'"},
        WrongUsage{"jsonForAppIcon", {"appicon", "a.png", "out", "--json"}, "--json goes with check only"},
        WrongUsage{"unknownFormat",
                   {"check", "A.xcassets", "--format", "xml"},
                   "--format takes text, json or sarif, not 'xml'"},
        WrongUsage{"clashOnMacDisks",
                   {"imageset", "A.png", "a.png", "out"},
                   "two sources are named a (letter case aside): each image set needs a name of its own"},
        WrongUsage{"transparentBackground",
                   {"appicon", "a.png", "out", "--background", "#ff000080"},
                   "--background takes an opaque colour (#RGB, #RRGGBB, rgb(r, g, b) or a CSS name), not "
                   "'#ff000080'"}),
    [](const testing::TestParamInfo<WrongUsage>& row) { return std::string(row.param.name); });
