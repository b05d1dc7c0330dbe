#pragma once

#include "ui/androidoptionspanel.h"
#include "ui/appiconoptionspanel.h"
#include "ui/desktopoptionspanel.h"
#include "ui/dragview.h"
#include "ui/homecontroller.h"
#include "ui/imagewell.h"
#include "ui/mainwindow.h"
#include "ui/messagearea.h"
#include "ui/outputchoice.h"
#include "ui/segmentedcontrol.h"

#include "testsupport.h"

#include <QFileDialog>
#include <QMainWindow>
#include <QMimeData>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace quorva::test {

// The real main window, made from its interface description and shown on the offscreen
// platform, with a scratch folder for sources and destinations.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HomeController& controller() const { return *homeControllerOf(*window); }
    DragView& dragView() const { return *controller().dragView(); }
    ImageWell& imageWell() const { return *controller().imageView(); }
    SegmentedControl& segments() const { return *controller().segmentedControl(); }
    // Each kind's page, by the name the window's description gives it.
    AppIconOptionsPanel* appIconPage() const { return window->findChild<AppIconOptionsPanel*>("appIconOptions"); }
    AndroidOptionsPanel* androidPage() const { return window->findChild<AndroidOptionsPanel*>("androidOptions"); }
    DesktopOptionsPanel* desktopPage() const { return window->findChild<DesktopOptionsPanel*>("desktopOptions"); }
    QString status() const { return controller().statusLine()->text(); }
    MessageArea::Severity statusSeverity() const { return controller().statusLine()->severity(); }
    // The line that names the source image and its size.
    QString source() const { return controller().sourceLabel()->text(); }
    std::filesystem::path path(const std::string& name) const { return scratch / name; }
    // Saves the image under that name and drops it onto the window.
    void dropImage(const std::string& name, const QImage& image)
    {
        EXPECT_TRUE(dragAndDrop({scratch.savePng(name, image)}));
    }
    // A new folder below the scratch folder.
    std::filesystem::path folder(const std::string& name) const;

    // The drag of these local files, as a file manager offers it.
    static std::unique_ptr<QMimeData> filesDrag(const QStringList& files);
    // Sends drag enter, then drop, as a real drag over the drop zone (or another widget) does;
    // true when entered. Then waits until the image has loaded and its preview is made.
    bool dragAndDrop(const QStringList& files, QWidget* target = nullptr);
    void waitUntilSettled() const;

    // The dialog of that object name that the window has open, once it is there.
    QFileDialog* openDialog(const char* objectName) const;
    // Asks for the folder (as the button does), then ends the folder panel with OK on this folder.
    void generateInto(const std::filesystem::path& folder);
    // Waits, with a bound, until every job has ended: the pool is idle and every delivery step
    // and status update has run.
    void waitForJobs() const;

    test::Scratch scratch;
    std::unique_ptr<QMainWindow> window;
};

} // namespace quorva::test
