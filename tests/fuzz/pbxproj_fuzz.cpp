// libFuzzer target: an Xcode project file from anywhere, as check reads the one it finds above a
// catalog. It is read or refused with a reason; never a crash, a hang or an allocation the input
// does not justify.
#include "xcodeproj/xcodeproject.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const quorva::ReadXcodeProject read = quorva::readXcodeProject(text, "/nowhere/App.xcodeproj");
    if (read.project.has_value() == !read.error.isEmpty())
        std::abort(); // a project, or a reason why not
    if (read.project)
        for (const quorva::XcodeTarget& target : read.project->targets)
            (void)target.copies("/nowhere/Runner/Assets.xcassets");
    return 0;
}
