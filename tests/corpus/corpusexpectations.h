#pragma once

#include <QRegularExpression>
#include <QSize>
#include <QString>

#include <ostream>
#include <vector>

namespace quorva::test {

// What a file of the corpus (tests/corpus/files, described in expectations.tsv) must give: an
// image of this pixel size, or no image and a reason that contains the text given.
struct CorpusEntry {
    QString file;
    QSize size; // empty when the file must give no image
    QString reason;
    // Where the red corner of the EXIF test photographs ends up once their orientation is applied:
    // "TopLeft", "TopRight", "BottomRight", "BottomLeft"; empty for other files.
    QString red;

    bool readable() const { return !size.isEmpty(); }
    QString path() const { return QStringLiteral(QUORVA_CORPUS_DIR "/files/") + file; }
    // The file name as a test name: letters and digits kept, the rest '_'.
    std::string testName() const
    {
        return QString(file).replace(QRegularExpression("[^A-Za-z0-9]"), "_").toStdString();
    }
};

const std::vector<CorpusEntry>& corpus();

inline void PrintTo(const CorpusEntry& entry, std::ostream* out)
{
    *out << entry.file.toStdString();
}

} // namespace quorva::test
