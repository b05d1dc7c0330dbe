// libFuzzer target: what init, sync and the Android writer read from a project's own files, from
// bytes chosen by the fuzzer: quorva.toml and its shared keys changed in place, Tauri's
// configuration, Expo's app.json and app.config.ts, an adaptive icon's XML, a values file whose
// colour is read or changes in place. Each is read or refused; never a
// crash or a hang; what is changed in place stays what it was but for the change.
#include "android/adaptiveicon.h"
#include "android/valuesfile.h"
#include "expo/expoconfig.h"
#include "project/projectconfig.h"
#include "project/projecttarget.h"
#include "tauri/tauriconfig.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const quorva::ReadProjectConfig read = quorva::readProjectConfig(bytes, "/nonexistent-project");
    if (read.config.has_value() == !read.errors.isEmpty())
        std::abort(); // a config, or why not
    if (read.config) {
        (void)quorva::projectTargets(*read.config);
        // The shared keys set again as they are: the text is what it was.
        const std::optional<QByteArray> same = quorva::withSharedKeys(bytes, *read.config);
        if (same && quorva::readProjectConfig(*same, "/nonexistent-project").errors.size() != 0)
            std::abort();
        // What is written reads back as the same text.
        const QByteArray written = quorva::writeProjectConfig(*read.config);
        const quorva::ReadProjectConfig again = quorva::readProjectConfig(written, "/nonexistent-project");
        if (!again.config || quorva::writeProjectConfig(*again.config) != written)
            std::abort();
    }
    (void)quorva::tauriIcons(bytes);
    for (const bool script : {false, true})
        for (const quorva::ExpoImage& image : quorva::readExpoConfig(bytes, script).images)
            if (image.key.isEmpty())
                std::abort(); // every image is named by its key
    (void)quorva::adaptiveLayers(bytes);
    (void)quorva::colourValue(bytes, QStringLiteral("ic_launcher_background"));
    if (const std::optional<QByteArray> changed
        = quorva::withColourValue(bytes, QStringLiteral("ic_launcher_background"), QStringLiteral("#123456"))) {
        // Only the value changed: what differs from the file's bytes lies within the new value.
        qsizetype prefix = 0, suffix = 0;
        const qsizetype shorter = std::min(bytes.size(), changed->size());
        while (prefix < shorter && bytes[prefix] == (*changed)[prefix])
            ++prefix;
        while (suffix < shorter - prefix
               && bytes[bytes.size() - 1 - suffix] == (*changed)[changed->size() - 1 - suffix])
            ++suffix;
        if (!QByteArray("#123456").contains(changed->mid(prefix, changed->size() - prefix - suffix)))
            std::abort();
    }
    return 0;
}
