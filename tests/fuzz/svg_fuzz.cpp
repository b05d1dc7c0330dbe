// libFuzzer target: any bytes as an SVG document. It is made safe and drawn within bounds, or
// refused with a reason; never a crash, a hang or a read outside the document.
#include "image/imageloading.h"
#include "image/svgdocument.h"
#include "image/vectordrawing.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 3;
    static char name[] = "svg_fuzz", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication fonts(argc, argv); // text is laid out with its fonts

    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const quorva::SvgDocument svg = quorva::readSvg(bytes);
    if (svg.error.isEmpty() == svg.document.isEmpty() && !bytes.isEmpty())
        std::abort(); // a document, or a reason
    const quorva::LoadedImage loaded = quorva::loadImage(bytes);
    if (loaded.image && loaded.image->drawing() && loaded.image->drawing()->render(24, 17).isNull())
        std::abort();
    if (!loaded.image && loaded.error.isEmpty())
        std::abort();
    return 0;
}
