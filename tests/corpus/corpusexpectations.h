#pragma once

#include <QSize>
#include <QString>

#include <ostream>
#include <string>
#include <vector>

namespace quorva::test {

// Where the red corner of the EXIF test photographs ends up once their orientation is applied.
enum class Corner { None, TopLeft, TopRight, BottomRight, BottomLeft };

// What a file of the corpus (tests/corpus/make_corpus.py) must give: an image of this pixel
// size, or no image and a reason that contains the text given.
struct CorpusEntry {
    const char* file;
    QSize size;            // empty when the file must give no image
    const char* reason;    // part of the reason, when there is no image
    Corner red = Corner::None;

    bool readable() const { return !size.isEmpty(); }
};

const std::vector<CorpusEntry>& corpus();

// The entry's file name as a test name: letters and digits kept, the rest '_'.
std::string testNameOf(const CorpusEntry& entry);

inline void PrintTo(const CorpusEntry& entry, std::ostream* out)
{
    *out << entry.file;
}
QString corpusPath(const CorpusEntry& entry);

} // namespace quorva::test
