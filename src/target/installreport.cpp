#include "target/installreport.h"

namespace quorva {

void InstallReport::add(const InstallReport& other)
{
    if (!setFolder)
        setFolder = other.setFolder;
    written.insert(written.end(), other.written.begin(), other.written.end());
    unchanged.insert(unchanged.end(), other.unchanged.begin(), other.unchanged.end());
    removed += other.removed;
    kept += other.kept;
    failures += other.failures;
    if (!forcing)
        forcing = other.forcing;
}

} // namespace quorva
