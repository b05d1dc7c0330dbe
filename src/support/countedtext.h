#pragma once

#include <QLatin1String>
#include <QString>

#include <cstdint>

namespace quorva {

// A count with its noun, as the reports say it: "1 file", "3 files", "0 errors".
inline QString countedText(std::int64_t count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace quorva
