// Whatever the source, sync exits 0 only with files that check finds no error in: for every kind
// of target and a transparent, an opaque, a small and a drawn source, the target is written and
// passes, or sync refuses it with exit 1 and leaves its place as it was.
#include "projectlayouts.h"

#include <gtest/gtest.h>

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
