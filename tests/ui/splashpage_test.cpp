// The window's launch screen: previewed on the phones before anything is written, light and dark,
// at true size, with art the circle cuts marked; written into a project's folder as quorva-cli
// splash writes it there.
#include "windowfixture.h"

#include "../project/projectlayouts.h"
#include "splash/splashsizes.h"
#include "ui/iconpreview.h"
#include "ui/splashpage.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QPushButton>
#include <QSpinBox>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

class SplashWindow : public test::WindowFixture {
protected:
    SplashPage* page() const { return window->findChild<SplashPage*>(QStringLiteral("splashOptions")); }
    template<typename T>
    T& control(const char* name) const
    {
        return *page()->findChild<T*>(QLatin1String(name));
    }
    void pickColour(const char* button, const char* dialog, QColor colour)
    {
        control<QPushButton>(button).click();
        auto* colours = window->findChild<QColorDialog*>(QLatin1String(dialog));
        ASSERT_NE(colours, nullptr);
        colours->setCurrentColor(colour);
        colours->accept();
        waitUntilSettled();
    }
    // A pixel of the preview, by where it lies on a phone's screen in dp: the phones side by side
    // (Android 12, older Android, iPhone), the dark ones below, each under its caption.
    QRgb previewPixel(int phone, bool dark, QPointF dp) const
    {
        const QImage preview = controller().preview()->preview();
        const qreal ratio = preview.devicePixelRatio();
        const int screen = qRound(560 * ratio), gap = qRound(24 * ratio);
        const int rowHeight = (preview.height() - gap) / 2; // a caption, then the screens
        const int top = (dark ? rowHeight + gap : 0) + rowHeight - screen;
        const int left = phone * qRound((360 + 24) * ratio);
        return preview.pixel(left + qRound(dp.x() * ratio), top + qRound(dp.y() * ratio));
    }
};

// A Flutter app's launch theme, as flutter create makes it.
void flutterLaunchTheme(const fs::path& root)
{
    test::makeProject(test::ProjectLayout{"flutter", {}, ""}, root);
    test::writeFile(root / "android/app/src/main/AndroidManifest.xml",
                    "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                    "  <application><activity android:theme=\"@style/LaunchTheme\"><intent-filter>"
                    "<category android:name=\"android.intent.category.LAUNCHER\"/></intent-filter></activity>"
                    "</application>\n</manifest>\n");
    test::writeFile(root / "android/app/src/main/res/values/styles.xml",
                    "<resources>\n    <style name=\"LaunchTheme\" parent=\"@android:style/Theme.Black\">\n"
                    "        <item name=\"android:windowBackground\">@drawable/launch_background</item>\n"
                    "    </style>\n</resources>\n");
}

} // namespace

TEST_F(SplashWindow, previewsEveryPhoneLightAndDark_atTrueSize_beforeAnythingIsWritten)
{
    dropImage("art.png", test::solidImage(400, 400, qRgb(200, 30, 30)));
    segments().setSelectedSegment(int(OutputChoice::LaunchScreen));
    waitUntilSettled();
    ASSERT_TRUE(page()->isVisible());
    control<QCheckBox>("splashDarkBox").setChecked(true);
    pickColour("splashDarkButton", "splashDarkDialog", QColor(0x10, 0x20, 0x30));
    pickColour("splashColourButton", "splashColourDialog", QColor(0xf0, 0xe0, 0xd0));
    const QImage preview = controller().preview()->preview();
    ASSERT_FALSE(preview.isNull());
    const qreal ratio = preview.devicePixelRatio();
    // True size: three screens of 360, 360 and 390 dp side by side, 24 dp apart.
    EXPECT_EQ(preview.width(), qRound((360 + 360 + 390 + 2 * 24) * ratio));
    for (const int phone : {0, 1, 2})
        for (const bool dark : {false, true}) {
            const QRgb ground = dark ? qRgb(0x10, 0x20, 0x30) : qRgb(0xf0, 0xe0, 0xd0);
            const int width = phone == 2 ? 390 : 360;
            EXPECT_EQ(previewPixel(phone, dark, {30, 100}), ground) << phone << dark;
            EXPECT_EQ(previewPixel(phone, dark, {width / 2.0, 280}), qRgb(200, 30, 30)) << phone << dark;
            // The art's edge: 136 dp across, inside the 192 dp circle.
            EXPECT_EQ(previewPixel(phone, dark, {width / 2.0 + 72, 280}), ground) << phone << dark;
        }
    EXPECT_FALSE(controller().preview()->accessibleDescription().contains("cuts"));
}

TEST_F(SplashWindow, artTheCircleCuts_isMarked)
{
    dropImage("art.png", test::solidImage(400, 400, qRgb(200, 30, 30)));
    segments().setSelectedSegment(int(OutputChoice::LaunchScreen));
    control<QSpinBox>("splashSizeChoice").setValue(180);
    waitUntilSettled();
    EXPECT_TRUE(controller().preview()->accessibleDescription().contains("cuts the art"))
        << controller().preview()->accessibleDescription().toStdString();
    // Past the circle, on the diagonal: the art shows faintly, neither the screen's colour nor the art's.
    const QRgb corner = previewPixel(0, false, {180 - 85, 280 - 85});
    EXPECT_NE(corner, qRgb(255, 255, 255));
    EXPECT_NE(corner, qRgb(200, 30, 30));
    // The older screens have no circle: the same art whole.
    EXPECT_EQ(previewPixel(1, false, {180 - 85, 280 - 85}), qRgb(200, 30, 30));
}

TEST_F(SplashWindow, writesIntoAProjectsFolder_asQuorvaCliSplashDoes)
{
    const QString art = scratch.savePng("art.png", test::gradientImage(512, 512, 40));
    ASSERT_TRUE(dragAndDrop({art}));
    segments().setSelectedSegment(int(OutputChoice::LaunchScreen));
    control<QCheckBox>("splashIconBox").setChecked(true);
    pickColour("splashIconButton", "splashIconDialog", QColor(0x33, 0x66, 0x99));
    const fs::path windowProject = path("window-app"), cliProject = path("cli-app");
    flutterLaunchTheme(windowProject);
    flutterLaunchTheme(cliProject);
    generateInto(windowProject);
    waitForJobs();
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Success) << status().toStdString();
    const test::ProgramRun cli
        = test::runCli({"splash", art, test::str(cliProject), "--icon-background", "#336699", "--padding", "0"});
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    const QStringList files = test::filesBelow(cliProject);
    ASSERT_EQ(test::filesBelow(windowProject), files);
    for (const QString& file : files)
        EXPECT_EQ(test::readBytes(windowProject / file.toStdString()), test::readBytes(cliProject / file.toStdString()))
            << file.toStdString();
    EXPECT_TRUE(fs::exists(windowProject / "ios/Runner/Assets.xcassets/LaunchImage.imageset/LaunchImage@3x.png"));
}
