// What the window tells, and when: a message goes with the choices that made it, a refusal the
// user can overrule offers to, a failed run says nothing was written, and every control is named.
#include "windowfixture.h"

#include "ui/appiconoptionspanel.h"
#include "ui/iconpreview.h"
#include "ui/messagearea.h"
#include "ui/outputchoice.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

class WindowMessages : public test::WindowFixture {
protected:
    QPushButton& button(const char* name) const { return *window->findChild<QPushButton*>(QLatin1String(name)); }
    template<typename T>
    T& option(const char* name) const
    {
        return *appIconPage()->findChild<T*>(QLatin1String(name));
    }
};

} // namespace

TEST_F(WindowMessages, aRefusalTheUserMayOverrule_offersWriteAnyway_andItWrites)
{
    dropImage("logo.png", test::gradientImage(256, 256, 40));
    segments().setSelectedSegment(int(OutputChoice::AndroidIcon));
    waitUntilSettled();
    const fs::path notRes = folder("icons");
    generateInto(notRes);
    waitForJobs();
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Error);
    EXPECT_TRUE(status().contains("Write Anyway writes into it anyway")) << status().toStdString();
    ASSERT_TRUE(button("writeAnywayButton").isVisible());
    EXPECT_FALSE(button("openFolderButton").isVisible());
    EXPECT_TRUE(fs::is_empty(notRes));

    button("writeAnywayButton").click();
    waitForJobs();
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Success) << status().toStdString();
    EXPECT_FALSE(button("writeAnywayButton").isVisible());
    EXPECT_TRUE(fs::exists(notRes / "mipmap-xxxhdpi/ic_launcher.png"));
}

TEST_F(WindowMessages, aMessageGoesWhenTheKindOrTheChoicesThatMadeItChange)
{
    dropImage("logo.png", test::gradientImage(256, 256, 40));
    segments().setSelectedSegment(int(OutputChoice::AndroidIcon));
    waitUntilSettled();
    generateInto(folder("icons"));
    waitForJobs();
    ASSERT_EQ(statusSeverity(), MessageArea::Severity::Error);
    segments().setSelectedSegment(int(OutputChoice::AppIconSet));
    waitUntilSettled();
    EXPECT_TRUE(status().isEmpty()) << status().toStdString();
    EXPECT_FALSE(button("writeAnywayButton").isVisible());

    segments().setSelectedSegment(int(OutputChoice::ImageSet));
    waitUntilSettled();
    generateInto(folder("assets"));
    waitForJobs();
    ASSERT_TRUE(status().contains("Wrote 4 files")) << status().toStdString();
    ASSERT_TRUE(button("openFolderButton").isVisible());
    segments().setSelectedSegment(int(OutputChoice::AndroidIcon));
    waitUntilSettled();
    EXPECT_TRUE(status().isEmpty()) << status().toStdString();
    EXPECT_FALSE(button("openFolderButton").isVisible());

    // Back to the kind whose set was written, with the same choices: nothing tells of it again,
    // and a change of a choice clears a message as a change of kind does.
    segments().setSelectedSegment(int(OutputChoice::AppIconSet));
    waitUntilSettled();
    generateInto(folder("icon"));
    waitForJobs();
    ASSERT_TRUE(status().contains("Wrote")) << status().toStdString();
    option<QComboBox>("fitChoice").setCurrentIndex(1);
    waitUntilSettled();
    EXPECT_TRUE(status().isEmpty()) << status().toStdString();
}

TEST_F(WindowMessages, aFullDiskWritesNothing_andTheWindowSaysSoWithoutOpenFolder)
{
    const test::SmallDisk disk(path("disk"), 256 << 10);
    if (!disk.mounted)
        GTEST_SKIP() << "no tmpfs can be mounted here to fill up";
    dropImage("noise.png", test::randomImage(512, 512, 5, true));
    disk.fill(16 << 10);
    const test::Snapshot before = test::snapshotOf(disk.folder);
    generateInto(disk.folder);
    waitForJobs();
    EXPECT_TRUE(status().contains("Nothing was written")) << status().toStdString();
    EXPECT_TRUE(status().contains("No space left on device")) << status().toStdString();
    EXPECT_FALSE(button("openFolderButton").isVisible());
    EXPECT_EQ(test::differences(before, test::snapshotOf(disk.folder)), QStringList{});
}

TEST_F(WindowMessages, generateAskedForWhileAnImageLoads_asksForTheFolderOnceItHasLoaded)
{
    const QString art = scratch.savePng("big.png", test::randomImage(3000, 3000, 2));
    auto drag = filesDrag({art});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, drag.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dragView(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, drag.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dragView(), &drop);
    ASSERT_TRUE(controller().isLoading());
    controller().openSelection(); // Ctrl+G meanwhile
    EXPECT_TRUE(status().contains("once the image has loaded")) << status().toStdString();
    QFileDialog* panel = openDialog("folderPanel");
    ASSERT_NE(panel, nullptr) << "the folder is asked for once the image is there";
    EXPECT_FALSE(controller().isLoading());
    panel->reject();
}

TEST_F(WindowMessages, aChoiceThatDoesNotApplyShowsUnticked_andComesBackWhenItDoes)
{
    dropImage("logo.png", test::gradientImage(256, 256, 40));
    auto& sizes = option<QComboBox>("sizesChoice");
    auto& dark = option<QCheckBox>("darkBox");
    sizes.setCurrentIndex(1);
    dark.setChecked(true);
    sizes.setCurrentIndex(0);
    EXPECT_FALSE(dark.isEnabled());
    EXPECT_FALSE(dark.isChecked()) << "a classic set has no dark icon";
    EXPECT_TRUE(dark.toolTip().contains("single-size")) << dark.toolTip().toStdString();
    sizes.setCurrentIndex(1);
    EXPECT_TRUE(dark.isEnabled());
    EXPECT_TRUE(dark.isChecked());

    dropImage("square.png", test::solidImage(256, 256, qRgb(20, 90, 160)));
    EXPECT_FALSE(dark.isChecked()) << "opaque art has no artwork for a dark icon";
    dropImage("logo2.png", test::gradientImage(256, 256, 40));
    EXPECT_TRUE(dark.isChecked());
}

TEST_F(WindowMessages, everyControlTheKeyboardReachesHasAName)
{
    dropImage("logo.png", test::gradientImage(256, 256, 40));
    for (int kind = 0; kind <= int(OutputChoice::DesktopWeb); ++kind) {
        segments().setSelectedSegment(kind);
        waitUntilSettled();
        const QList<QLabel*> labels = window->findChildren<QLabel*>();
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisible() || !widget->isEnabled() || !(widget->focusPolicy() & Qt::TabFocus)
                || qobject_cast<QAbstractSpinBox*>(widget->parentWidget()))
                continue; // a spin box's own line edit speaks as the spin box
            // A button says its text; a field or a list has a name of its own or a label's.
            const bool field = qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget)
                || qobject_cast<QLineEdit*>(widget);
            const bool labelled = std::any_of(labels.begin(), labels.end(),
                                              [widget](const QLabel* label) { return label->buddy() == widget; });
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            ASSERT_NE(accessible, nullptr);
            const QString name = field ? widget->accessibleName() : accessible->text(QAccessible::Name);
            EXPECT_TRUE(!name.trimmed().isEmpty() || (field && labelled))
                << "kind " << kind << ": " << widget->metaObject()->className() << " "
                << widget->objectName().toStdString();
        }
    }
}

TEST_F(WindowMessages, theSizesChoiceCountsTheIconsOfThePlatformsTicked)
{
    auto& sizes = option<QComboBox>("sizesChoice");
    EXPECT_EQ(sizes.itemText(0), "All sizes (17 icons)");
    option<QCheckBox>("macBox").setChecked(true);
    option<QCheckBox>("watchBox").setChecked(true);
    EXPECT_EQ(sizes.itemText(0), "All sizes (25 icons)"); // iOS's 17, the Mac's 7, the watch's 1
    option<QCheckBox>("iosBox").setChecked(false);
    EXPECT_EQ(sizes.itemText(0), "All sizes (8 icons)");
}

TEST_F(WindowMessages, tabGoesInReadingOrder_dropZoneKindsOptionsThenGenerate)
{
    dropImage("logo.png", test::gradientImage(256, 256, 40));
    window->activateWindow();
    dragView().setFocus(Qt::TabFocusReason);
    QStringList order;
    QWidget* first = QApplication::focusWidget();
    ASSERT_EQ(first, &dragView());
    for (int step = 0; step < 30; ++step) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        order << (focused->objectName().isEmpty() ? QString::fromLatin1(focused->metaObject()->className())
                                                  : focused->objectName());
        QTest::keyClick(focused, Qt::Key_Tab);
        if (QApplication::focusWidget() == first)
            break;
    }
    EXPECT_EQ(order,
              (QStringList{"dragView", "segment0", "sizesChoice", "backgroundBox", "fitChoice", "paddingChoice",
                           "iosBox", "macBox", "watchBox", "generateButton"}))
        << order.join(' ').toStdString();
}

// A success shows a tick that stands out from its green ground, and no message's text touches the
// frame around it.
TEST_F(WindowMessages, aSuccessShowsATickThatStandsOut_andTextKeepsClearOfTheFrame)
{
    MessageArea& status = *controller().statusLine();
    status.setMessage(QStringLiteral("Wrote 1 file."), MessageArea::Severity::Success);
    QCoreApplication::processEvents();
    const QLabel* glyph = nullptr; // the label beside the text's
    for (const QLabel* each : status.findChildren<QLabel*>())
        if (each != status.label())
            glyph = each;
    ASSERT_NE(glyph, nullptr);
    const QImage tick = glyph->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(tick.isNull());
    // The contrast of the mark with its disc, as WCAG reckons it: at least 3 to 1 for a glyph.
    const auto luminance = [](QRgb c) {
        const auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
    };
    double lightest = 0, darkest = 1;
    for (int y = 0; y < tick.height(); ++y)
        for (int x = 0; x < tick.width(); ++x)
            if (qAlpha(tick.pixel(x, y)) == 255) {
                lightest = std::max(lightest, luminance(tick.pixel(x, y)));
                darkest = std::min(darkest, luminance(tick.pixel(x, y)));
            }
    EXPECT_GE((lightest + 0.05) / (darkest + 0.05), 3.0);
    for (const auto severity : {MessageArea::Severity::Success, MessageArea::Severity::Error}) {
        status.setMessage(QStringLiteral("<b>Nothing was written.</b>"), severity);
        QCoreApplication::processEvents();
        EXPECT_GE(status.label()->mapTo(&status, QPoint(0, 0)).y(), 6) << "the text's top touches the frame";
    }
}

// Several platforms' icons, each under its platform's name.
TEST_F(WindowMessages, severalPlatformsPreviewsAreCaptioned)
{
    AppIconOptions options;
    options.platforms = {ApplePlatform::iOS, ApplePlatform::macOS, ApplePlatform::watchOS};
    options.background = Qt::white;
    QPalette palette;
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    const auto red = [](const QImage& image) {
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        int count = 0;
        for (int y = 0; y < argb.height(); ++y)
            for (int x = 0; x < argb.width(); ++x)
                count += qRed(argb.pixel(x, y)) > 200 && qGreen(argb.pixel(x, y)) < 60 && qBlue(argb.pixel(x, y)) < 60;
        return count;
    };
    const ImageRef art = makeImage(test::solidImage(256, 256, qRgb(30, 90, 200)));
    EXPECT_GT(red(renderIconPreview(planAppIconSet(art, options), 1, palette)), 20);
    options.platforms = {ApplePlatform::iOS};
    EXPECT_EQ(red(renderIconPreview(planAppIconSet(art, options), 1, palette)), 0) << "one platform needs no name";
}

TEST_F(WindowMessages, aMessagesColourIsItsSeveritysAlone_afterTenMessages_andFillsTheBoxBehindTheText)
{
    MessageArea& status = *controller().statusLine();
    // A pixel of the ground inside the frame, and one in the text's own area, clear of glyphs.
    const auto grounds = [&status] {
        QCoreApplication::processEvents();
        const QImage shown = status.grab().toImage();
        const QPoint inText = status.label()->mapTo(&status, QPoint(status.label()->width() - 3, 2));
        return std::pair(shown.pixel(shown.width() - 3, shown.height() / 2),
                         shown.pixel(inText * shown.devicePixelRatio()));
    };
    status.setMessage(QStringLiteral("Careful."), MessageArea::Severity::Warning);
    const auto [warning, warningText] = grounds();
    status.setMessage(QStringLiteral("Wrong."), MessageArea::Severity::Error);
    const auto [error, errorText] = grounds();
    EXPECT_NE(warning, error);
    EXPECT_EQ(warningText, warning) << "the text on a band of its own";
    EXPECT_EQ(errorText, error);
    for (int i = 0; i < 10; ++i)
        status.setMessage(QStringLiteral("Message %1").arg(i),
                          i % 2 ? MessageArea::Severity::Error : MessageArea::Severity::Warning);
    status.setMessage(QStringLiteral("Careful."), MessageArea::Severity::Warning);
    EXPECT_EQ(grounds().first, warning) << "tinted over the tints before";
    status.setMessage(QStringLiteral("Wrong."), MessageArea::Severity::Error);
    EXPECT_EQ(grounds().first, error);
}

TEST_F(WindowMessages, generateIsOffWhileAJobWrites_andBackOnceItHasWritten)
{
    dropImage("icon.png", test::gradientImage(1024, 1024));
    ASSERT_TRUE(controller().findChild<QPushButton*>(QStringLiteral("generateButton"))->isEnabled());
    generateInto(folder("out"));
    ASSERT_TRUE(controller().isWorking());
    EXPECT_FALSE(controller().findChild<QPushButton*>(QStringLiteral("generateButton"))->isEnabled())
        << "a second job would start beside the first";
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("generateAction"))->isEnabled()) << "nor by Ctrl+G";
    waitForJobs();
    EXPECT_TRUE(controller().findChild<QPushButton*>(QStringLiteral("generateButton"))->isEnabled());
}
