#include "cli/allocatortuning.h"
#include "cli/checkcommand.h"
#include "cli/commandline.h"
#include "cli/generatecommand.h"
#include "cli/kindcommand.h"
#include "cli/projectcommand.h"
#include "cli/usagetext.h"

#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

void printTo(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// What a command did: its lines for the user to copy on standard output, its notes and failures
// on standard error; its exit status.
int report(const quorva::GenerateOutcome& outcome)
{
    for (const QString& line : outcome.output)
        printTo(stdout, line + QLatin1Char('\n'));
    for (const QString& note : outcome.notes)
        printTo(stderr, QStringLiteral("quorva-cli: note: %1\n").arg(note));
    for (const QString& error : outcome.errors)
        printTo(stderr, QStringLiteral("quorva-cli: %1\n").arg(error));
    return outcome.exitStatus;
}

} // namespace

int main(int argc, char* argv[])
{
    // Qt's own warnings ("libpng error: …") say less than the line that quorva-cli prints about
    // the same file, and would only clutter a script's standard error.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg)
            printTo(stderr, message + QLatin1Char('\n'));
    });
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    // An output kind that its schema alone makes a command of.
    if (const quorva::OutputKind* kind = arguments.isEmpty() ? nullptr : quorva::commandKind(arguments.front()); kind
        && !arguments.contains(QStringLiteral("--help")) && !arguments.contains(QStringLiteral("-h"))
        && !arguments.contains(QStringLiteral("--version"))) {
        const quorva::KindCommand command = quorva::parseKindCommand(*kind, arguments.mid(1));
        if (command.error) {
            printTo(stderr, QStringLiteral("quorva-cli: %1\nTry 'quorva-cli --help'.\n").arg(*command.error));
            return 2;
        }
        quorva::tuneAllocatorForShortRun();
        return report(quorva::runKindCommand(*kind, command.options));
    }
    const quorva::CommandLine line = quorva::parseCommandLine(arguments);
    switch (line.action) {
    case quorva::CommandLine::Action::Help:
        printTo(stdout, quorva::usageText());
        return 0;
    case quorva::CommandLine::Action::Version:
        printTo(stdout, quorva::versionText());
        return 0;
    case quorva::CommandLine::Action::UsageError:
        printTo(stderr, QStringLiteral("quorva-cli: %1\nTry 'quorva-cli --help'.\n").arg(line.error));
        return 2;
    case quorva::CommandLine::Action::Check: {
        const quorva::CheckOutcome outcome = quorva::runCheck(line.check);
        printTo(stdout, outcome.output);
        if (!outcome.error.isEmpty())
            printTo(stderr, QStringLiteral("quorva-cli: %1\n").arg(outcome.error));
        return outcome.exitStatus;
    }
    case quorva::CommandLine::Action::Generate:
    case quorva::CommandLine::Action::Project:
        break;
    }
    quorva::tuneAllocatorForShortRun();
    return report(line.action == quorva::CommandLine::Action::Generate ? quorva::runGenerate(line.request)
                      : line.project.command == quorva::ProjectRequest::Command::Init ? quorva::runInit(line.project)
                                                                                      : quorva::runSync(line.project));
}
