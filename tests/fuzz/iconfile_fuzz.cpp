// libFuzzer target: what check and quorva-cli web read from files they did not write: an .ico, an
// .icns and a web manifest, from bytes chosen by the fuzzer. Each is read or refused with a reason;
// never a crash, a hang or an allocation the input does not justify; a manifest given icons stays
// a manifest.
#include "desktop/desktopcheck.h"
#include "desktop/icnsfile.h"
#include "desktop/icofile.h"
#include "web/webmanifest.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const quorva::IcoFile ico = quorva::readIco(bytes);
    if (ico.error.isEmpty() == ico.entries.empty())
        std::abort(); // images, or a reason why none
    for (const quorva::IcoEntry& entry : ico.entries)
        (void)quorva::decodeIcoDib(entry);
    (void)quorva::checkIco(bytes, QStringLiteral("fuzz.ico"), true);
    const quorva::IcnsFile icns = quorva::readIcns(bytes);
    if (icns.error.isEmpty() == icns.elements.empty())
        std::abort();
    (void)quorva::checkIcns(bytes, QStringLiteral("fuzz.icns"));

    const quorva::WebManifest manifest = quorva::parseManifest(bytes);
    const quorva::ManifestIcon added{QStringLiteral("icon-512.png"),
                                     QStringLiteral("512x512"),
                                     QStringLiteral("image/png"),
                                     {}};
    const std::optional<QByteArray> grown = quorva::withIcons(bytes, {added});
    if (grown && !quorva::parseManifest(*grown).error.isEmpty())
        std::abort(); // a manifest given icons is still a manifest
    if (grown && manifest.error.isEmpty() && quorva::parseManifest(*grown).icons.empty())
        std::abort();
    return 0;
}
