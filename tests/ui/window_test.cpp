// The window as a finished utility: it guides before it asks for a folder, shows what the set
// will look like, offers quorva-cli's choices, and holds its layout, focus and shortcuts.
#include "windowfixture.h"

#include "ui/appiconoptionspanel.h"
#include "ui/desktopoptionspanel.h"
#include "ui/iconpreview.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

class WindowTest : public test::WindowFixture {
protected:
    QPushButton& generate() const { return *window->findChild<QPushButton*>(QStringLiteral("generateButton")); }
    QAction& action(const char* name) const { return *window->findChild<QAction*>(QLatin1String(name)); }
    template<typename T>
    T& option(const char* name) const
    {
        return *appIconPage()->findChild<T*>(QLatin1String(name));
    }
    template<typename T>
    T& androidOption(const char* name) const
    {
        return *androidPage()->findChild<T*>(QLatin1String(name));
    }
    // The controls the layout must keep in place, and where each lies in the window.
    QList<QWidget*> laidOut() const
    {
        return {&dragView(),
                &imageWell(),
                &segments(),
                &generate(),
                appIconPage(),
                controller().sourceNotes(),
                window->findChild<QWidget*>(QStringLiteral("previewScroll")),
                window->findChild<QWidget*>(QStringLiteral("content"))};
    }
    QRect placeOf(QWidget* widget) const { return {widget->mapTo(window.get(), QPoint(0, 0)), widget->size()}; }
    QList<QRect> placesOf(const QList<QWidget*>& widgets) const
    {
        QList<QRect> places;
        for (QWidget* widget : widgets)
            places << placeOf(widget);
        return places;
    }
    QString notes() const { return controller().sourceNotes()->text(); }
    void choose(int sizes, bool dark, bool tinted, bool background)
    {
        option<QComboBox>("sizesChoice").setCurrentIndex(sizes);
        option<QCheckBox>("darkBox").setChecked(dark);
        option<QCheckBox>("tintedBox").setChecked(tinted);
        option<QCheckBox>("backgroundBox").setChecked(background);
        waitUntilSettled();
    }
};

} // namespace

TEST_F(WindowTest, guidesBeforeAskingForAFolder)
{
    EXPECT_FALSE(generate().isEnabled());
    EXPECT_FALSE(action("generateAction").isEnabled());
    EXPECT_TRUE(generate().toolTip().contains("image first")) << generate().toolTip().toStdString();

    dropImage("tiny.png", test::solidImage(2, 2, qRgb(1, 2, 3)));
    EXPECT_TRUE(generate().isEnabled());
    EXPECT_TRUE(notes().contains("smaller than the 1024 px App Store icon")) << notes().toStdString();
    segments().setSelectedSegment(1);
    EXPECT_FALSE(generate().isEnabled());
    EXPECT_FALSE(action("generateAction").isEnabled());
    EXPECT_TRUE(notes().contains("at least 3 × 3 pixels")) << notes().toStdString();
    EXPECT_FALSE(appIconPage()->isVisible()) << "the app icon choices belong to the app icon set";
    segments().setSelectedSegment(0);

    dropImage("wide.png", test::solidImage(1200, 1024, qRgb(1, 2, 3)));
    EXPECT_TRUE(notes().contains("not square")) << notes().toStdString();
    EXPECT_FALSE(notes().contains("smaller"));
    EXPECT_FALSE(option<QCheckBox>("darkBox").isEnabled()) << "no transparent art for a dark icon";
    EXPECT_FALSE(option<QCheckBox>("tintedBox").isEnabled()) << "appearances need a single-size set";
    EXPECT_TRUE(option<QCheckBox>("tintedBox").toolTip().contains("single-size"));

    dropImage("clear.png", test::gradientImage(1024, 1024, 20));
    EXPECT_TRUE(notes().contains("transparent pixels")) << notes().toStdString();
    emit controller().sourceNotes()->label()->linkActivated(QStringLiteral("#background")); // as a click on it does
    QColorDialog* offered = window->findChild<QColorDialog*>(QStringLiteral("backgroundDialog"));
    ASSERT_NE(offered, nullptr) << "the note offers the background colour";
    offered->reject();
    choose(1, false, false, false);
    EXPECT_FALSE(generate().isEnabled()) << "App Store Connect would reject the icon";
    EXPECT_TRUE(generate().toolTip().contains("background")) << generate().toolTip().toStdString();
    EXPECT_TRUE(option<QCheckBox>("darkBox").isEnabled());
    choose(1, true, true, true);
    EXPECT_TRUE(generate().isEnabled());
    EXPECT_FALSE(notes().contains("transparent"));
}

TEST_F(WindowTest, choicesWriteWhatQuorvaCliWrites_andThePreviewShowsThemOffTheMainThread)
{
    const QString art = scratch.savePng("art.png", test::gradientImage(512, 512, 30));
    ASSERT_TRUE(dragAndDrop({art}));
    const QImage classic = controller().preview()->preview();
    ASSERT_FALSE(classic.isNull());
    option<QComboBox>("sizesChoice").setCurrentIndex(1);
    option<QCheckBox>("tintedBox").setChecked(true);
    EXPECT_TRUE(controller().isPreviewing()) << "the preview is made off the main thread";
    option<QCheckBox>("darkBox").setChecked(true);
    option<QPushButton>("backgroundButton").setEnabled(true);
    option<QPushButton>("backgroundButton").click();
    auto* colours = window->findChild<QColorDialog*>(QStringLiteral("backgroundDialog"));
    ASSERT_NE(colours, nullptr);
    colours->setCurrentColor(QColor(0x20, 0x40, 0x60));
    colours->accept();
    waitUntilSettled();
    EXPECT_TRUE(option<QCheckBox>("backgroundBox").isChecked());
    EXPECT_GT(controller().preview()->preview().height(), classic.height()) << "the appearances side by side";

    generateInto(folder("window"));
    waitForJobs();
    const test::ProgramRun cli = test::runCli(
        {"appicon", art, test::str(path("cli")), "--single-size", "--dark", "--tinted", "--background", "#204060"});
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    const QStringList files = test::filesBelow(path("cli"));
    ASSERT_EQ(test::filesBelow(path("window")), files);
    for (const QString& file : files)
        EXPECT_EQ(test::readBytes(path("window") / file.toStdString()),
                  test::readBytes(path("cli") / file.toStdString()))
            << file.toStdString();

    segments().setSelectedSegment(1);
    waitUntilSettled();
    EXPECT_TRUE(controller().preview()->accessibleDescription().contains("asset@2x.png 341 × 341 px"))
        << controller().preview()->accessibleDescription().toStdString();
}

TEST_F(WindowTest, platformsAndIconComposerFilesAreWhatQuorvaCliWrites)
{
    const QString art = scratch.savePng("art.png", test::gradientImage(512, 512, 30));
    ASSERT_TRUE(dragAndDrop({art}));
    option<QCheckBox>("macBox").setChecked(true);
    option<QCheckBox>("watchBox").setChecked(true);
    option<QCheckBox>("backgroundBox").setChecked(true);
    waitUntilSettled();
    EXPECT_GT(controller().preview()->preview().height(), 2 * 144) << "each platform as its system shows it";
    generateInto(folder("window"));
    waitForJobs();
    ASSERT_EQ(test::runCli(
                  {"appicon", art, test::str(path("cli")), "--platform", "ios,macos,watchos", "--background", "white"})
                  .exitCode,
              0);
    option<QComboBox>("sizesChoice").setCurrentIndex(2); // an Icon Composer file
    waitUntilSettled();
    generateInto(folder("window"));
    waitForJobs();
    ASSERT_EQ(
        test::runCli({"appicon", art, "--icon-composer", test::str(path("cli")), "--background", "white"}).exitCode, 0);
    const QStringList files = test::filesBelow(path("cli"));
    ASSERT_EQ(test::filesBelow(path("window")), files);
    const auto iconFiles = test::filesBelow(path("cli") / "AppIcon.icon").size();
    EXPECT_GE(iconFiles, 2);
    EXPECT_TRUE(status().contains(QStringLiteral("Wrote %1 files").arg(iconFiles))) << status().toStdString();
    EXPECT_TRUE(files.contains("AppIcon.icon/icon.json")
                && files.contains("Quorva/icon/iOS/AppIcon.appiconset/AppIcon-mac-64.png"));
    for (const QString& file : files)
        EXPECT_EQ(test::readBytes(path("window") / file.toStdString()),
                  test::readBytes(path("cli") / file.toStdString()))
            << file.toStdString();
}

TEST_F(WindowTest, androidIconIsWhatQuorvaCliWrites_underTheLaunchersMasks)
{
    const QString art = scratch.savePng("art.png", test::gradientImage(512, 512, 30));
    ASSERT_TRUE(dragAndDrop({art}));
    segments().setSelectedSegment(int(OutputChoice::AndroidIcon));
    waitUntilSettled();
    EXPECT_FALSE(appIconPage()->isVisible());
    ASSERT_TRUE(androidPage()->isVisible());
    EXPECT_TRUE(controller().preview()->accessibleDescription().contains("not themed"));
    androidOption<QCheckBox>("monochromeBox").setChecked(true);
    androidOption<QSpinBox>("androidPaddingChoice").setValue(10);
    androidOption<QPushButton>("androidColourButton").click();
    auto* colours = window->findChild<QColorDialog*>(QStringLiteral("androidColourDialog"));
    ASSERT_NE(colours, nullptr);
    colours->setCurrentColor(QColor(0x20, 0x40, 0x60));
    colours->accept();
    waitUntilSettled();
    EXPECT_FALSE(controller().preview()->accessibleDescription().contains("not themed"));
    const QImage preview = controller().preview()->preview();
    ASSERT_FALSE(preview.isNull());
    // The circle's corner shows the home screen; its middle, the chosen background.
    const qreal ratio = preview.devicePixelRatio();
    const int gap = qRound(16 * ratio), side = qRound(72 * ratio);
    EXPECT_EQ(preview.pixel(gap + 2, gap + 2), qRgb(0xdd, 0xe3, 0xea));
    EXPECT_EQ(preview.pixel(gap + side / 2, gap + 3), qRgb(0x20, 0x40, 0x60));

    const fs::path windowRes = path("window/android/app/src/main/res"), cliRes = path("cli/android/app/src/main/res");
    fs::create_directories(windowRes);
    fs::create_directories(cliRes);
    generateInto(windowRes);
    waitForJobs();
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Success) << status().toStdString();
    EXPECT_TRUE(status().contains("Wrote 23 files")) << status().toStdString();
    const test::ProgramRun cli = test::runCli(
        {"android", art, test::str(cliRes), "--monochrome", "--padding", "10", "--background", "#204060"});
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    const QStringList files = test::filesBelow(cliRes);
    ASSERT_EQ(test::filesBelow(windowRes), files);
    for (const QString& file : files)
        EXPECT_EQ(test::readBytes(windowRes / file.toStdString()), test::readBytes(cliRes / file.toStdString()))
            << file.toStdString();

    // A folder that is no source set's res: refused in the window's words, with no flag of quorva-cli's.
    generateInto(folder("notres"));
    waitForJobs();
    EXPECT_TRUE(status().contains("src/main/res")) << status().toStdString();
    EXPECT_FALSE(status().contains("--")) << status().toStdString();
    EXPECT_TRUE(fs::is_empty(path("notres")));

    // A full-bleed square has no shape for a themed icon: the choice is off, and the note says why.
    dropImage("square.png", test::solidImage(300, 300, qRgb(200, 30, 30)));
    EXPECT_FALSE(androidOption<QCheckBox>("monochromeBox").isEnabled());
    EXPECT_TRUE(notes().contains("background layer")) << notes().toStdString();
}

TEST_F(WindowTest, layoutHoldsAtTheSmallestSizeWithTheLongestStatus)
{
    dropImage("wide.png", test::gradientImage(300, 100, 5)); // every note at once
    window->resize(window->minimumSizeHint());
    QStringList failures;
    for (int i = 0; i < 30; ++i)
        failures << QStringLiteral(
                        "Couldn't write \"/a/very/long/path/to/a/folder/that/wraps/%1.png\": No space left on device.")
                        .arg(i);
    controller().statusLine()->setMessage(failures.join("<br>"), MessageArea::Severity::Error);
    QList<QWidget*> controls = laidOut();
    controls.last() = controller().statusLine(); // the column holds them all
    // The resize and the relayout it asks for are events of their own: wait, with a bound, until
    // the window has its size and its column is laid out at it.
    (void)QTest::qWaitFor(
        [&] {
            return window->size() == window->minimumSizeHint()
                && placeOf(controller().statusLine()).bottom() <= placeOf(window->centralWidget()).bottom();
        },
        5000);
    const QRect inside = placeOf(window->centralWidget());
    for (QWidget* a : controls) {
        const QRect placed = placeOf(a);
        EXPECT_TRUE(inside.contains(placed)) << a->objectName().toStdString() << " leaves the window";
        EXPECT_GT(a->height(), 0) << a->objectName().toStdString();
        for (QWidget* b : controls) {
            if (a != b) {
                EXPECT_FALSE(placed.intersects(placeOf(b)))
                    << a->objectName().toStdString() << " overlaps " << b->objectName().toStdString();
            }
        }
    }
}

// Nothing moves under the pointer: every control keeps its place whatever the segment, the notes
// and the image, at the smallest, the usual and the maximised size (and, run again by ctest, at
// twice the scale); only the preview below them moves, taking the room the choices and the notes
// leave; and the preview shows the icons pixel for pixel.
TEST_F(WindowTest, layoutHoldsStillAcrossSegmentsNotesAndLoads)
{
    const QString plain = scratch.savePng("plain.png", test::solidImage(1024, 1024, qRgb(20, 90, 200)));
    const QString noted = scratch.savePng("noted.png", test::gradientImage(300, 100, 5));
    test::writeBytes(path("broken.png"), "no picture");
    for (const char* size : {"smallest", "usual", "maximised"}) {
        SCOPED_TRACE(size);
        if (QLatin1String(size) == QLatin1String("maximised"))
            window->showMaximized();
        else
            window->resize(QLatin1String(size) == QLatin1String("smallest") ? window->minimumSizeHint()
                                                                            : QSize(760, 660));
        ASSERT_TRUE(dragAndDrop({plain}));
        segments().setSelectedSegment(0);
        waitUntilSettled();
        const QList<QWidget*> controls = {&dragView(), &imageWell(), &segments(), &generate()};
        const QList<QRect> places = placesOf(controls);
        QWidget* stack = window->findChild<QWidget*>(QStringLiteral("optionsStack"));
        QWidget* preview = window->findChild<QWidget*>(QStringLiteral("previewScroll"));
        const QPoint choices = placeOf(stack).topLeft();
        const auto same = [&](const char* after) {
            QCoreApplication::processEvents();
            EXPECT_EQ(placesOf(controls), places) << "after " << after;
            EXPECT_EQ(placeOf(stack).topLeft(), choices) << "after " << after;
            // The preview lies below the choices and the notes, in the window.
            const QRect shown = placeOf(preview);
            EXPECT_GE(shown.top(), placeOf(stack).bottom()) << "after " << after;
            if (controller().sourceNotes()->isVisible()) {
                EXPECT_GE(shown.top(), placeOf(controller().sourceNotes()).bottom()) << "after " << after;
            }
            EXPECT_LE(shown.bottom(), placeOf(window->centralWidget()).bottom()) << "after " << after;
        };
        ASSERT_TRUE(dragAndDrop({noted}));
        same("notes came");
        segments().setSelectedSegment(1);
        waitUntilSettled();
        same("the image set was chosen");
        segments().setSelectedSegment(2);
        waitUntilSettled();
        same("the Android icon was chosen");
        ASSERT_TRUE(dragAndDrop({test::str(path("broken.png"))}));
        same("a failed load");
        segments().setSelectedSegment(0);
        ASSERT_TRUE(dragAndDrop({plain}));
        same("the notes went");

        const QImage shown = controller().preview()->preview();
        const qreal ratio = window->devicePixelRatio();
        EXPECT_EQ(shown.devicePixelRatio(), ratio);
        EXPECT_EQ(controller().preview()->size(), shown.deviceIndependentSize().toSize()) << "never shrunk";
        const int gap = qRound(12 * ratio);
        EXPECT_EQ(shown.height(), 120 + 2 * gap) << "the 120 px icon in 120 device pixels";
        window->showNormal();
    }
}

// At the usual size the preview has the room the choices leave: the launcher icons under their
// masks, a single-size set's appearances and the desktops' and the web's icons are seen whole
// (run again by ctest at twice the scale).
TEST_F(WindowTest, layoutHoldsThePreviewWholeAtTheUsualSize)
{
    window->resize(760, 660);
    QImage logo(1024, 1024, QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::transparent);
    for (int y = 200; y < 824; ++y)
        for (int x = 200; x < 824; ++x)
            logo.setPixel(x, y, qRgb(30, 90, 200));
    dropImage("logo.png", logo);
    auto* scroll = window->findChild<QScrollArea*>(QStringLiteral("previewScroll"));
    const auto whole = [&](const char* kind) {
        waitUntilSettled();
        QCoreApplication::processEvents();
        EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0) << kind << ": the preview is cut";
        EXPECT_GT(controller().preview()->height(), 100) << kind;
    };
    segments().setSelectedSegment(2);
    androidOption<QCheckBox>("monochromeBox").setChecked(true);
    whole("android");
    segments().setSelectedSegment(0);
    choose(1, true, true, true);
    whole("appearances");
    segments().setSelectedSegment(3);
    whole("desktop and web");
}

TEST_F(WindowTest, everyControlShowsFocus_andTabVisitsControlsOnly)
{
    dropImage("clear.png", test::gradientImage(64, 64, 4));
    option<QComboBox>("sizesChoice").setCurrentIndex(1);
    option<QCheckBox>("backgroundBox").setChecked(true);
    waitUntilSettled();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    dragView().setFocus();
    QStringList visited;
    for (int step = 0; step < 20; ++step) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        if (visited.contains(focused->objectName()))
            break;
        visited << focused->objectName();
        const QImage withFocus = focused->grab().toImage();
        window->setFocus();
        const QImage without = focused->grab().toImage();
        EXPECT_NE(withFocus, without) << focused->objectName().toStdString() << " shows no focus";
        focused->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    visited.sort();
    // The segments are one stop, as a group of choices is: the arrow keys move between them.
    EXPECT_EQ(visited,
              (QStringList{"backgroundBox", "backgroundButton", "darkBox", "dragView", "fitChoice", "generateButton",
                           "iosBox", "macBox", "paddingChoice", "segment0", "sizesChoice", "tintedBox", "watchBox"}));
}

TEST_F(WindowTest, menusShortcutsChoosersAndOpenFolder)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_TRUE(generate().text().contains('&')) << "Generate has a mnemonic";
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QFileDialog* chooser = openDialog("imageChooser");
    ASSERT_NE(chooser, nullptr);
    chooser->reject();

    const fs::path images = folder("images");
    const QString icon = scratch.savePng("images/icon.png", test::gradientImage(64, 64));
    ASSERT_TRUE(dragAndDrop({icon}));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    QFileDialog* panel = openDialog("folderPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->directory().absolutePath(), test::str(images)) << "the image's folder, before any was chosen";
    panel->reject();
    QTRY_VERIFY(!window->findChild<QFileDialog*>(QStringLiteral("folderPanel")));
    generateInto(folder("out"));
    waitForJobs();
    controller().openSelection();
    panel = openDialog("folderPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->directory().absolutePath(), test::str(path("out"))) << "the folder last chosen";
    panel->reject();

    auto* openFolder = window->findChild<QPushButton*>(QStringLiteral("openFolderButton"));
    ASSERT_TRUE(openFolder->isVisible());
    QList<QUrl> opened;
    bool canOpen = false; // as on a desktop without a file manager
    controller().setUrlOpener([&](const QUrl& url) {
        opened << url;
        return canOpen;
    });
    openFolder->click();
    openFolder->click();
    EXPECT_EQ(status().count("Couldn't open the folder"), 1) << "said once: " << status().toStdString();
    canOpen = true;
    openFolder->click();
    EXPECT_EQ(opened.size(), 3);
    EXPECT_EQ(opened.last(), QUrl::fromLocalFile(test::str(path("out") / "Quorva/icon/iOS/AppIcon.appiconset")));

    action("aboutAction").trigger();
    auto* about = window->findChild<QMessageBox*>(QStringLiteral("aboutBox"));
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->text().contains(QStringLiteral(QUORVA_VERSION_TEXT))) << about->text().toStdString();
    EXPECT_TRUE(about->text().contains(QStringLiteral("Copyright"))
                && about->text().contains(QStringLiteral("Licence")));
    EXPECT_FALSE(about->iconPixmap().isNull()) << "the application's icon, not a generic one";
    about->accept();
    action("helpAction").trigger();
    auto* help = window->findChild<QMessageBox*>(QStringLiteral("helpBox"));
    ASSERT_NE(help, nullptr);
    for (const char* known : {"App Icon Set", "Image Set", "Android Icon", "Desktop &amp; Web", "quorva.toml", "Sync"})
        EXPECT_TRUE(help->text().contains(QLatin1String(known))) << known << " is not in the help";
    help->accept();
    const QList<QAction*> actions = window->findChildren<QAction*>();
    for (const char* shortcut : {"F1", "Ctrl+W", "Ctrl+O", "Ctrl+Shift+O", "Ctrl+G", "Ctrl+Q"})
        EXPECT_TRUE(std::any_of(actions.begin(), actions.end(), [&](QAction* a) {
            return a->shortcut() == QKeySequence(QLatin1String(shortcut));
        })) << shortcut;
    action("shortcutsAction").trigger();
    auto* shortcuts = window->findChild<QMessageBox*>(QStringLiteral("shortcutsBox"));
    ASSERT_NE(shortcuts, nullptr);
    EXPECT_TRUE(shortcuts->text().contains(QStringLiteral("Ctrl+G"))) << shortcuts->text().toStdString();
    shortcuts->accept();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, desktopAndWebIsWhatQuorvaCliWrites_eachFileShownWhereItIsUsed)
{
    const QString art = scratch.savePng("art.png", test::gradientImage(1024, 1024, 80));
    ASSERT_TRUE(dragAndDrop({art}));
    segments().setSelectedSegment(int(OutputChoice::DesktopWeb));
    waitUntilSettled();
    DesktopOptionsPanel& options = *desktopPage();
    ASSERT_TRUE(options.isVisible());
    EXPECT_TRUE(controller().preview()->accessibleDescription().contains("touch icon"));
    const QImage preview = controller().preview()->preview();
    EXPECT_GE(preview.height() / preview.devicePixelRatio(), 180) << "the touch icon at its true 180 px";

    // An application ID that is none stops Generate, and says why.
    auto* appId = options.findChild<QLineEdit*>(QStringLiteral("appIdEdit"));
    ASSERT_NE(appId, nullptr);
    appId->selectAll();
    QTest::keyClicks(appId, "not an id");
    waitUntilSettled();
    auto* generate = window->findChild<QPushButton*>(QStringLiteral("generateButton"));
    EXPECT_FALSE(generate->isEnabled());
    EXPECT_TRUE(generate->toolTip().contains("Linux app ID")) << generate->toolTip().toStdString();
    appId->selectAll();
    QTest::keyClicks(appId, "org.example.Art");
    waitUntilSettled();
    ASSERT_TRUE(generate->isEnabled());

    generateInto(folder("window"));
    waitForJobs();
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Success) << status().toStdString();
    const fs::path cli = path("cli");
    for (const QStringList& command :
         {QStringList{"ico", art, test::str(cli / "icon.ico")}, QStringList{"icns", art, test::str(cli / "icon.icns")},
          QStringList{"linux", art, test::str(cli), "--id", "org.example.Art"},
          QStringList{"msix", art, test::str(cli / "appx"), "--msix"},
          QStringList{"web", art, test::str(cli / "web")}}) {
        const test::ProgramRun run = test::runCli(command);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    const QStringList files = test::filesBelow(cli);
    EXPECT_TRUE(status().contains(QStringLiteral("Wrote %1 files").arg(files.size()))) << status().toStdString();
    ASSERT_EQ(test::filesBelow(path("window")), files);
    for (const QString& file : files)
        EXPECT_EQ(test::readBytes(path("window") / file.toStdString()), test::readBytes(cli / file.toStdString()))
            << file.toStdString();
}
