// libFuzzer target: what check reads of a set, from bytes chosen by the fuzzer: a Contents.json
// and a PNG's header and chunk list. Either is read or refused with a reason; never a crash, a
// hang or an allocation the input does not justify.
#include "apple/setcontents.h"
#include "png/pngstructure.h"
#include "support/paths.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first byte splits the rest: so much JSON, then the PNG.
    const std::size_t split = std::min<std::size_t>(size - 1, std::size_t(data[0]) * 16);
    const QByteArray json(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(split));
    const QByteArray png(reinterpret_cast<const char*>(data + 1 + split), static_cast<qsizetype>(size - 1 - split));

    const quorva::SetContents contents = quorva::parseSetContents(json);
    for (const quorva::SetEntry& entry : contents.entries) {
        int width = 0, height = 0;
        if (entry.expectedPixels(width, height) && (width < 1 || height < 1))
            std::abort();
    }
    for (const QString& file : quorva::filesNamedIn(contents))
        (void)quorva::isSingleComponent(file);

    const quorva::PngStructure structure = quorva::readPngStructure(png);
    if (structure.whole == !structure.problem.isEmpty())
        std::abort(); // whole, or a reason why not
    if (structure.whole && (structure.width == 0 || structure.height == 0))
        std::abort();
    return 0;
}
