// Whatever the source, sync exits 0 only with files that check finds no error in: for every kind
// of target and a transparent, an opaque, a small and a drawn source, the target is written and
// passes, or sync refuses it with exit 1 and leaves its place as it was.
#include "projectlayouts.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

struct SourceRow {
    const char* name;
    const char* file;
};
void PrintTo(const SourceRow& row, std::ostream* out)
{
    *out << row.name;
}

class StoreRules : public ::testing::TestWithParam<SourceRow> {};

} // namespace

TEST_P(StoreRules, everyKindIsWrittenAndChecksClean_orRefusedWithNothingWritten)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::allKindsProject(root);
    for (const test::KindRow& kind : test::kindRows()) {
        const QByteArray toml = QByteArray("source = \"art/") + GetParam().file + "\"\n\n" + kind.table;
        test::writeBytes(root / "quorva.toml", toml);
        fs::remove(root / "quorva.lock");
        const test::Snapshot before = test::snapshotOf(root / kind.place);
        const test::ProgramRun sync = test::runCliIn(root, {"sync"});
        const QString what = QString::fromUtf8(toml) + sync.out + sync.err;
        if (sync.exitCode == 0) {
            const test::ProgramRun check = test::runCliIn(root, {"check"});
            EXPECT_EQ(check.exitCode, 0) << what.toStdString() << check.out.toStdString();
            EXPECT_FALSE(check.out.contains("error:")) << what.toStdString() << check.out.toStdString();
            EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 0) << what.toStdString();
        } else {
            EXPECT_EQ(sync.exitCode, 1) << what.toStdString();
            EXPECT_EQ(test::snapshotOf(root / kind.place), before) << what.toStdString();
            EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 1) << what.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, StoreRules,
                         ::testing::Values(SourceRow{"transparent", "transparent.png"},
                                           SourceRow{"opaque", "opaque.png"}, SourceRow{"small", "small.png"},
                                           SourceRow{"drawn", "drawn.svg"}),
                         [](const auto& info) { return std::string(info.param.name); });

// check reads what every kind's table writes: one image of its files spoilt is an error it names.
TEST(StoreRulesCheck, aSpoiltImageInAnyKindsPlace_isAnErrorCheckFinds)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::allKindsProject(root);
    QImage flat(1024, 1024, QImage::Format_RGB32);
    flat.fill(qRgb(30, 136, 229));
    test::savePngTo(root / "art/flat.png", flat);
    for (const test::KindRow& kind : test::kindRows()) {
        // No platform tool reads a Linux theme's or Expo's images before the build does.
        if (QByteArray(kind.table).startsWith("[linux]") || QByteArray(kind.table).startsWith("[expo]"))
            continue;
        // An opaque source, or a transparent one where the kind needs artwork on nothing, laid onto
        // a colour where it needs both.
        const test::Snapshot before = test::snapshotOf(root / kind.place);
        QByteArray toml;
        const std::pair<const char*, const char*> tries[] = {{"art/flat.png", ""},
                                                             {"art/transparent.png", ""},
                                                             {"art/transparent.png", "background = \"#ffffff\"\n"}};
        for (const auto& [source, background] : tries) {
            toml = QByteArray("source = \"") + source + "\"\n\n" + kind.table + background;
            test::writeBytes(root / "quorva.toml", toml);
            fs::remove(root / "quorva.lock");
            if (test::runCliIn(root, {"sync"}).exitCode == 0)
                break;
        }
        QString spoilt;
        for (const auto& [name, bytes] : test::snapshotOf(root / kind.place)) {
            const auto was = before.find(name);
            const bool written = was == before.end() || was->second != bytes;
            if (written && QRegularExpression(QStringLiteral("\\.(png|webp|ico|icns)$")).match(name).hasMatch())
                spoilt = name;
        }
        ASSERT_FALSE(spoilt.isEmpty()) << toml.toStdString();
        test::writeBytes(root / kind.place / spoilt.toStdString(), "not an image");
        const test::ProgramRun check = test::runCliIn(root, {"check"});
        EXPECT_EQ(check.exitCode, 1) << toml.toStdString() << spoilt.toStdString() << check.out.toStdString();
        EXPECT_TRUE(check.out.contains("error:")) << toml.toStdString() << check.out.toStdString();
    }
}
