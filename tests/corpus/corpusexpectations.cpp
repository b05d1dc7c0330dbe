#include "corpusexpectations.h"

#include <cctype>

namespace quorva::test {

const std::vector<CorpusEntry>& corpus()
{
    static const char* empty = "the file is empty";
    static const char* damaged = "damaged or incomplete";
    static const std::vector<CorpusEntry> entries = {
        {"zero-bytes.png", {}, empty},
        {"text-named.png", {}, "not a known image format"},
        {"bad-crc.png", {}, damaged},
        {"truncated-8.png", {}, damaged},
        {"truncated-20.png", {}, damaged},
        {"truncated-33.png", {}, damaged},
        {"truncated-60.png", {}, damaged},
        {"truncated-4971.png", {}, damaged},
        {"truncated-9930.png", {}, damaged},
        {"truncated-2.jpg", {}, damaged},
        {"truncated-100.jpg", {}, damaged},
        {"truncated-445.jpg", {}, damaged},
        {"truncated-889.jpg", {}, damaged},
        {"bomb-100000x100000.png", {}, "100000 × 100000 pixels"},
        {"size-1x1.png", {1, 1}, nullptr},
        {"size-2x2.png", {2, 2}, nullptr},
        {"size-2x900.png", {2, 900}, nullptr},
        {"size-3x3.png", {3, 3}, nullptr},
        {"rgba16.png", {40, 30}, nullptr},
        {"rgb16.png", {40, 30}, nullptr},
        {"grey.png", {40, 30}, nullptr},
        {"grey-2bit.png", {40, 30}, nullptr},
        {"grey-alpha.png", {40, 30}, nullptr},
        {"palette.png", {40, 30}, nullptr},
        {"palette-trns.png", {40, 30}, nullptr},
        {"interlaced.png", {41, 29}, nullptr},
        {"display-p3.png", {40, 30}, nullptr},
        {"with space.png", {30, 30}, nullptr},
        {"naïve café.png", {30, 30}, nullptr},
        {"app.icon.final.png", {30, 30}, nullptr},
        {".hidden.png", {30, 30}, nullptr},
        {"UPPER.PNG", {30, 30}, nullptr},
        {"baseline.jpg", {60, 40}, nullptr, Corner::TopLeft},
        {"progressive.jpg", {60, 40}, nullptr, Corner::TopLeft},
        {"cmyk.jpg", {60, 40}, nullptr, Corner::TopLeft},
        {"exif-orientation-1.jpg", {60, 40}, nullptr, Corner::TopLeft},
        {"exif-orientation-2.jpg", {60, 40}, nullptr, Corner::TopRight},
        {"exif-orientation-3.jpg", {60, 40}, nullptr, Corner::BottomRight},
        {"exif-orientation-4.jpg", {60, 40}, nullptr, Corner::BottomLeft},
        {"exif-orientation-5.jpg", {40, 60}, nullptr, Corner::TopLeft},
        {"exif-orientation-6.jpg", {40, 60}, nullptr, Corner::TopRight},
        {"exif-orientation-7.jpg", {40, 60}, nullptr, Corner::BottomRight},
        {"exif-orientation-8.jpg", {40, 60}, nullptr, Corner::BottomLeft},
    };
    return entries;
}

std::string testNameOf(const CorpusEntry& entry)
{
    std::string name;
    for (const char c : std::string(entry.file))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

QString corpusPath(const CorpusEntry& entry)
{
    return QStringLiteral(QUORVA_CORPUS_DIR "/") + QString::fromUtf8(entry.file);
}

} // namespace quorva::test
