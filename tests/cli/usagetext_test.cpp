// --help lists every option each output's schema has, with the schema's own words, and lays
// them out in lines of the width without losing a word.
#include "cli/usagetext.h"

#include "cli/commandline.h"
#include "cli/kindcommand.h"
#include "target/outputkind.h"

#include <gtest/gtest.h>

using namespace quorva;

namespace {

// The lines of --help from a section's heading to the blank line that ends it.
QStringList sectionOf(const QString& heading)
{
    const QStringList lines = usageText().split(QLatin1Char('\n'));
    const qsizetype start = lines.indexOf(heading);
    if (start < 0)
        return {};
    QStringList section;
    for (qsizetype i = start + 1; i < lines.size() && !lines[i].isEmpty(); ++i)
        section << lines[i];
    return section;
}

bool listsFlag(const QStringList& section, const OptionSpec& option)
{
    const QString flag = QStringLiteral("  --%1").arg(QLatin1String(option.key));
    return std::any_of(section.begin(), section.end(),
                       [&](const QString& line) { return line.startsWith(flag + QLatin1Char(' ')) || line == flag; });
}

QString words(const QString& text)
{
    return text.simplified();
}

} // namespace

TEST(UsageText, everyFlagOfEveryCommand_isListedUnderItsCommand)
{
    int listed = 0;
    for (const OutputKind* kind : commandKinds()) {
        const QStringList section = sectionOf(QStringLiteral("%1 options:").arg(QLatin1String(kind->command)));
        for (const OptionSpec& option : kind->options()) {
            if (kind->arguments.contains(QLatin1String(option.key)))
                continue;
            EXPECT_TRUE(listsFlag(section, option)) << kind->command << " --" << option.key;
            ++listed;
        }
    }
    const QStringList appicon = sectionOf(QStringLiteral("appicon options:"));
    for (const OptionSpec& option : appIconFlags()) {
        EXPECT_TRUE(listsFlag(appicon, option)) << "appicon --" << option.key;
        ++listed;
    }
    EXPECT_GE(listed, 30);
}

TEST(UsageText, everyFlag_saysWhatItDoes)
{
    for (const OutputKind* kind : commandKinds()) {
        EXPECT_TRUE(kind->about && *kind->about) << kind->command;
        for (const OptionSpec& option : kind->options())
            EXPECT_TRUE(kind->arguments.contains(QLatin1String(option.key)) || (option.help && *option.help))
                << kind->command << " --" << option.key;
    }
    for (const OptionSpec& option : appIconFlags())
        EXPECT_TRUE(option.help && *option.help) << "appicon --" << option.key;
}

TEST(UsageText, anOptionsLine_keepsEveryWordOfItsHelp_inLinesOfTheWidth)
{
    for (const OutputKind* kind : commandKinds())
        for (const OptionSpec& option : kind->options()) {
            if (!option.help)
                continue;
            const QString value = valueNameOf(option);
            const QString line = optionLine(option, value);
            for (const QString& part : line.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                EXPECT_LE(part.size(), 90) << part.toStdString();
            const QString flag = QStringLiteral("--%1 %2").arg(QLatin1String(option.key), value);
            EXPECT_TRUE(words(line).startsWith(words(flag + QLatin1Char(' ') + QString::fromUtf8(option.help))))
                << line.toStdString();
        }
}

TEST(UsageText, aPaddingsLine_givesItsRange)
{
    const QString line = optionLine(sharedOption("padding"), QStringLiteral("PERCENT"));
    EXPECT_TRUE(words(line).endsWith(QStringLiteral("(0 to %1)").arg(maxPaddingPercent))) << line.toStdString();
}

TEST(UsageText, aSynopsis_givesTheArgumentsThenTheRequiredOptionsThenTheRest)
{
    const OutputKind* linux = commandKind(QStringLiteral("linux"));
    ASSERT_TRUE(linux);
    const QString synopsis = words(synopsisOf(*linux));
    EXPECT_TRUE(synopsis.startsWith(QStringLiteral("quorva-cli linux SOURCE DIR --id APP_ID [--sizes LIST]")))
        << synopsis.toStdString();
    const OutputKind* ico = commandKind(QStringLiteral("ico"));
    ASSERT_TRUE(ico);
    EXPECT_TRUE(words(synopsisOf(*ico)).startsWith(QStringLiteral("quorva-cli ico SOURCE FILE.ico [")));
}

TEST(UsageText, aSynopsisLine_breaksBetweenOptions_neverInsideOne)
{
    for (const OutputKind* kind : commandKinds())
        for (const QString& line : synopsisOf(*kind).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            EXPECT_LE(line.size(), 90) << line.toStdString();
            EXPECT_EQ(line.count(QLatin1Char('[')), line.count(QLatin1Char(']'))) << line.toStdString();
        }
}
