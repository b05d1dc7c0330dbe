// Putting a set into a catalog: whoever looks at the catalog meanwhile (Xcode, a build) finds the
// whole old set or the whole new one, never no set at all.
#include "apple/setinstaller.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

// The set put in as Logo.imageset, forced, as a front end puts a placement in; whether it went in.
bool installSet(const fs::path& catalog, const SetFiles& set)
{
    const SetPlacement placed = placeSetIntoCatalog(catalog, QStringLiteral("Logo.imageset"), set, true);
    return placed.placement && !install({*placed.placement}).failed();
}

} // namespace

TEST(SetInstaller, aReaderAtAnyMomentFindsAWholeSet)
{
    test::Scratch scratch;
    const fs::path catalog = scratch / "Assets.xcassets";
    SetFiles sets[2];
    for (int i = 0; i < 2; ++i) {
        const QString file = QStringLiteral("logo%1.png").arg(i);
        sets[i].contents = QStringLiteral(R"({"images":[{"filename":"%1","idiom":"universal"}],"info":{"version":1}})")
                               .arg(file)
                               .toUtf8();
        sets[i].files[file] = QByteArray(4096, char('a' + i));
    }
    ASSERT_TRUE(installSet(catalog, sets[0]));
    EXPECT_TRUE(fs::exists(catalog / "Contents.json")) << "the catalog is made with the set";

    std::atomic<bool> done{false};
    std::atomic<int> looks{0}, missing{0};
    std::thread reader([&] {
        while (!done) {
            std::error_code error;
            if (!fs::exists(catalog / "Logo.imageset/Contents.json", error))
                ++missing;
            ++looks;
        }
    });
    for (int swap = 1; swap <= 200; ++swap)
        ASSERT_TRUE(installSet(catalog, sets[swap % 2]));
    done = true;
    reader.join();
    EXPECT_EQ(missing, 0) << "the set was missing in " << missing << " of " << looks << " looks";
    EXPECT_TRUE(fs::exists(catalog / "Logo.imageset/logo0.png"));
    EXPECT_FALSE(fs::exists(catalog / "Logo.imageset/logo1.png"));
}
