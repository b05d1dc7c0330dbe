#include "support/lineprinter.h"

#include <cstdio>
#include <mutex>

namespace quorva {
namespace {

std::mutex sinkMutex;
std::function<void(const QString&)> currentSink;

} // namespace

void printLine(const QString& text)
{
    std::lock_guard lock(sinkMutex);
    if (currentSink) {
        currentSink(text);
        return;
    }
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    std::fflush(stdout);
}

ScopedLineSink::ScopedLineSink(std::function<void(const QString&)> sink)
{
    std::lock_guard lock(sinkMutex);
    m_previous = std::exchange(currentSink, std::move(sink));
}

ScopedLineSink::~ScopedLineSink()
{
    std::lock_guard lock(sinkMutex);
    currentSink = std::move(m_previous);
}

} // namespace quorva
