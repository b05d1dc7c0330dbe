#pragma once

#include <QString>

#include <functional>

namespace quorva {

// Prints one report line to standard output: the text and a newline in a single write, flushed,
// so that lines from several threads never interleave.
void printLine(const QString& text);

// Sends printed lines somewhere else for as long as the object lives (tests read them so).
class ScopedLineSink {
public:
    explicit ScopedLineSink(std::function<void(const QString&)> sink);
    ~ScopedLineSink();
    ScopedLineSink(const ScopedLineSink&) = delete;
    ScopedLineSink& operator=(const ScopedLineSink&) = delete;

private:
    std::function<void(const QString&)> m_previous;
};

} // namespace quorva
