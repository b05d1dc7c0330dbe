#include "corpusexpectations.h"

#include <QFile>

namespace quorva::test {

const std::vector<CorpusEntry>& corpus()
{
    static const std::vector<CorpusEntry> entries = [] {
        std::vector<CorpusEntry> read;
        QFile table(QStringLiteral(QUORVA_CORPUS_DIR "/expectations.tsv"));
        if (!table.open(QIODevice::ReadOnly | QIODevice::Text))
            qFatal("the corpus table is missing");
        while (!table.atEnd()) {
            const QStringList fields = QString::fromUtf8(table.readLine()).chopped(1).split('\t');
            if (fields.size() == 5 && !fields[0].startsWith('#'))
                read.push_back({fields[0], QSize(fields[1].toInt(), fields[2].toInt()), fields[3], fields[4]});
        }
        return read;
    }();
    return entries;
}

} // namespace quorva::test
