// Every file of the bad-input corpus dropped onto the real window: shown with its size, or the
// status line says why it can't be read and the window keeps what it had.
#include "windowfixture.h"

#include "corpusexpectations.h"

using namespace quorva;
using test::CorpusEntry;

namespace {
class CorpusDrop : public test::WindowFixture, public ::testing::WithParamInterface<CorpusEntry> {};
} // namespace

TEST_P(CorpusDrop, isShownOrExplained)
{
    const CorpusEntry& entry = GetParam();
    ASSERT_TRUE(dragAndDrop({entry.path()}));
    if (!entry.readable()) {
        EXPECT_FALSE(imageWell().image());
        EXPECT_FALSE(controller().selectedAssetName());
        EXPECT_TRUE(status().contains(entry.file.toHtmlEscaped() + " is not an image Quorva can read: ")
                    && status().contains(entry.reason))
            << status().toStdString();
        return;
    }
    ASSERT_TRUE(imageWell().image());
    EXPECT_EQ(imageWell().image()->pixelSize(), entry.size);
    EXPECT_TRUE(source().contains(QStringLiteral("%1 × %2").arg(entry.size.width()).arg(entry.size.height())))
        << source().toStdString();
}

INSTANTIATE_TEST_SUITE_P(BadInput, CorpusDrop, ::testing::ValuesIn(test::corpus()),
                         [](const auto& info) { return info.param.testName(); });
