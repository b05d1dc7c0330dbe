// A res folder's name as Android's build reads its qualifiers: the density its files are for,
// and the version; anydpi and nodpi serve every density.
#include "android/resfolder.h"

#include <gtest/gtest.h>

using namespace quorva;

namespace {

struct QualifiersRow {
    const char* name;
    const char* folder;
    const char* density;
    int version;
};

class FolderQualifiersOf : public testing::TestWithParam<QualifiersRow> {};

const QualifiersRow qualifierRows[] = {
    {"plainFolder", "mipmap", "", 0},
    {"density", "mipmap-hdpi", "hdpi", 0},
    {"densityAndVersion", "drawable-xxhdpi-v4", "xxhdpi", 4},
    {"anydpiServesEveryDensity", "mipmap-anydpi-v26", "", 26},
    {"nodpiServesEveryDensity", "drawable-nodpi", "", 0},
    {"otherQualifiersBeside", "drawable-night-land-xhdpi", "xhdpi", 0},
    {"versionAlone", "values-v31", "", 31},
};

} // namespace

TEST_P(FolderQualifiersOf, giveItsDensityAndVersion)
{
    const QualifiersRow& row = GetParam();
    const FolderQualifiers qualifiers = qualifiersOf(QLatin1String(row.folder));
    EXPECT_EQ(qualifiers.density, QLatin1String(row.density));
    EXPECT_EQ(qualifiers.version, row.version);
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderQualifiersOf, testing::ValuesIn(qualifierRows),
                         [](const testing::TestParamInfo<QualifiersRow>& info) { return info.param.name; });
