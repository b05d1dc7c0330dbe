// A project's folder dropped onto the window, or opened from the File menu: its targets shown
// with the icons Sync writes and their own notes, Sync writing what quorva-cli sync writes, a
// changed colour offered to be saved into quorva.toml, saved before a sync, and asked about
// before it is lost.
#include "windowfixture.h"

#include "../project/projectlayouts.h"
#include "ui/projectcontroller.h"

#include <QColorDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

class WindowProject : public test::WindowFixture {
protected:
    QPushButton& button(const char* name) const { return *window->findChild<QPushButton*>(QLatin1String(name)); }
    QString previewText() const { return controller().preview()->accessibleDescription(); }
};

} // namespace

TEST_F(WindowProject, aDroppedProjectShowsItsTargets_andSyncWritesWhatQuorvaCliWrites)
{
    const test::ProjectLayout& flutter = test::projectLayouts().front();
    test::makeProject(flutter, path("app"));
    test::makeProject(flutter, path("cli"));
    ASSERT_TRUE(dragAndDrop({test::str(path("app"))}));
    ASSERT_TRUE(controller().projects()->isOpen());
    EXPECT_TRUE(controller().projectPanel()->isVisible());
    EXPECT_FALSE(segments().isVisible()) << "a project's choices take the kinds' place";
    for (const char* target :
         {"ios: ios/Runner/Assets.xcassets/AppIcon", "macos: ", "android: android/app/src/main/res", "web: web",
          "windows: ", "ios (dev): ", "android (dev): android/app/src/dev/res"})
        EXPECT_TRUE(previewText().contains(QLatin1String(target))) << target << " in\n" << previewText().toStdString();
    EXPECT_TRUE(button("saveProjectButton").isVisible()) << "there is no quorva.toml yet";

    button("syncButton").click();
    waitForJobs();
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Success) << status().toStdString();
    EXPECT_FALSE(fs::exists(path("app/quorva.toml"))) << "nothing saved unasked";
    ASSERT_EQ(test::runCli({"init", test::str(path("cli"))}).exitCode, 0);
    ASSERT_EQ(test::runCli({"sync", test::str(path("cli"))}).exitCode, 0);
    test::Tree window = test::treeOf(path("app")), cli = test::treeOf(path("cli"));
    for (test::Tree* tree : {&window, &cli})
        std::erase_if(*tree, [](const auto& file) { return file.first.startsWith("quorva."); });
    EXPECT_EQ(window, cli);
}

TEST_F(WindowProject, aChangedColourIsOfferedToBeSaved_andSavingKeepsTheRestOfQuorvaToml)
{
    test::makeProject(test::projectLayouts()[1], path("app")); // React Native
    ASSERT_EQ(test::runCli({"init", test::str(path("app"))}).exitCode, 0);
    QByteArray toml = test::readBytes(path("app/quorva.toml"));
    toml.prepend("# kept by hand\n");
    test::writeBytes(path("app/quorva.toml"), toml);
    controller().openProject(path("app"));
    waitUntilSettled();
    EXPECT_FALSE(button("saveProjectButton").isVisible()) << "nothing changed yet";

    button("projectColourButton").click();
    auto* colours = window->findChild<QColorDialog*>(QStringLiteral("projectColourDialog"));
    ASSERT_NE(colours, nullptr);
    colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
    colours->accept();
    waitUntilSettled();
    EXPECT_TRUE(button("saveProjectButton").isVisible());
    EXPECT_EQ(test::readBytes(path("app/quorva.toml")), toml) << "not saved before Save";
    button("saveProjectButton").click();
    const QByteArray saved = test::readBytes(path("app/quorva.toml"));
    EXPECT_TRUE(saved.startsWith("# kept by hand\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("background = \"#123456\"\n[ios]")
                || saved.contains("background = \"#123456\"\n\n[ios]"))
        << saved.toStdString();
    EXPECT_FALSE(button("saveProjectButton").isVisible());
    EXPECT_EQ(test::runCli({"sync", test::str(path("app")), "--dry-run"}).exitCode, 0) << "quorva.toml reads";

    button("closeProjectButton").click();
    EXPECT_FALSE(controller().projects()->isOpen());
    EXPECT_TRUE(segments().isVisible());
}

TEST_F(WindowProject, aFolderOfNoProjectSaysSo_andStaysAsItWas)
{
    fs::create_directories(path("empty/docs"));
    ASSERT_TRUE(dragAndDrop({test::str(path("empty"))}));
    EXPECT_FALSE(controller().projects()->isOpen());
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Error);
    EXPECT_TRUE(status().contains("no project Quorva knows")) << status().toStdString();
    EXPECT_TRUE(test::filesBelow(path("empty")).isEmpty());
}

namespace {

// A React Native project with its quorva.toml, open in the window.
void openSavedProject(test::WindowFixture& fixture, HomeController& home, const fs::path& root)
{
    (void)fixture;
    test::makeProject(test::projectLayouts()[1], root);
    ASSERT_EQ(test::runCli({"init", test::str(root)}).exitCode, 0);
    home.openProject(root);
}

void chooseColour(QMainWindow& window, QPushButton& button, const QColor& colour)
{
    button.click();
    auto* colours = window.findChild<QColorDialog*>(QStringLiteral("projectColourDialog"));
    ASSERT_NE(colours, nullptr);
    colours->setCurrentColor(colour);
    colours->accept();
}

QMessageBox* unsavedBox(QMainWindow& window)
{
    QMessageBox* box = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            box = window.findChild<QMessageBox*>(QStringLiteral("unsavedProjectBox"));
            return box && box->isVisible();
        },
        5000);
    return box && box->isVisible() ? box : nullptr;
}

} // namespace

TEST_F(WindowProject, syncAfterAnUnsavedChange_savesFirst_andTheFilesAreWhatSyncCheckFinds)
{
    openSavedProject(*this, controller(), path("app"));
    waitUntilSettled();
    chooseColour(*window, button("projectColourButton"), QColor(0x20, 0x40, 0x60));
    waitUntilSettled();
    EXPECT_EQ(button("syncButton").text().remove(QLatin1Char('&')), "Save and Sync");
    button("syncButton").click();
    waitForJobs();
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Success) << status().toStdString();
    EXPECT_TRUE(status().contains("Saved")) << status().toStdString();
    EXPECT_TRUE(test::readBytes(path("app/quorva.toml")).contains("background = \"#204060\""));
    EXPECT_EQ(test::runCli({"sync", test::str(path("app")), "--check"}).exitCode, 0);
    EXPECT_FALSE(button("saveProjectButton").isVisible());
}

TEST_F(WindowProject, closingWithUnsavedChanges_asks_andCancelKeepsThem)
{
    openSavedProject(*this, controller(), path("app"));
    waitUntilSettled();
    const QByteArray saved = test::readBytes(path("app/quorva.toml"));
    chooseColour(*window, button("projectColourButton"), QColor(0x20, 0x40, 0x60));
    waitUntilSettled();

    button("closeProjectButton").click();
    QMessageBox* box = unsavedBox(*window);
    ASSERT_NE(box, nullptr) << "Close Project asks";
    box->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(controller().projects()->isOpen());
    EXPECT_TRUE(controller().projects()->hasUnsavedEdits());

    window->close(); // Ctrl+W, Ctrl+Q, the title bar's button
    box = unsavedBox(*window);
    ASSERT_NE(box, nullptr) << "closing the window asks";
    EXPECT_TRUE(window->isVisible());
    box->button(QMessageBox::Discard)->click();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 5000));
    EXPECT_EQ(test::readBytes(path("app/quorva.toml")), saved) << "discarded";
}

TEST_F(WindowProject, closingAndSaving_keepsTheChoiceInQuorvaToml)
{
    openSavedProject(*this, controller(), path("app"));
    waitUntilSettled();
    chooseColour(*window, button("projectColourButton"), QColor(0x20, 0x40, 0x60));
    waitUntilSettled();
    button("closeProjectButton").click();
    QMessageBox* box = unsavedBox(*window);
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Save)->click();
    EXPECT_FALSE(controller().projects()->isOpen());
    EXPECT_TRUE(test::readBytes(path("app/quorva.toml")).contains("background = \"#204060\""));
}

TEST_F(WindowProject, itsNotesAreItsTargetsOwn_whateverKindTheWindowLastShowed)
{
    segments().setSelectedSegment(int(OutputChoice::ImageSet)); // a kind with nothing to say of transparency
    openSavedProject(*this, controller(), path("app"));
    waitUntilSettled();
    QImage art(256, 256, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    for (int y = 64; y < 192; ++y)
        for (int x = 64; x < 192; ++x)
            art.setPixel(x, y, qRgb(200, 40, 40));
    const QString transparent = scratch.savePng("app/art/transparent.png", art);
    emit controller().projectPanel()->sourceChosen(transparent);
    waitUntilSettled();
    const QString notes = controller().sourceNotes()->text();
    EXPECT_EQ(controller().sourceNotes()->severity(), MessageArea::Severity::Error) << notes.toStdString();
    EXPECT_TRUE(notes.contains("ios can&#x27;t be written") || notes.contains("ios can't be written"))
        << notes.toStdString();
    EXPECT_TRUE(notes.contains("transparent")) << notes.toStdString();
}

TEST_F(WindowProject, eachTargetsPreview_isTheFileSyncWrites_pixelForPixel)
{
    test::makeProject(test::projectLayouts().front(), path("app")); // Flutter: iOS, macOS, Android…
    ASSERT_EQ(test::runCli({"init", test::str(path("app"))}).exitCode, 0);
    QByteArray toml = test::readBytes(path("app/quorva.toml"));
    toml.replace("\n[ios]", "\nbackground = \"#336699\"\n[ios]");
    test::writeBytes(path("app/quorva.toml"), toml);
    controller().openProject(path("app"));
    waitUntilSettled();
    const std::vector<TargetPreview> previews = controller().projects()->previews();
    button("syncButton").click();
    waitForJobs();
    ASSERT_EQ(statusSeverity(), MessageArea::Severity::Success) << status().toStdString();
    for (const char* label : {"ios", "macos", "android"}) {
        const auto shown = std::find_if(previews.begin(), previews.end(),
                                        [&](const TargetPreview& each) { return each.label == QLatin1String(label); });
        ASSERT_NE(shown, previews.end()) << label;
        ASSERT_FALSE(shown->file.isEmpty()) << label;
        const QImage written(test::str(path("app") / shown->file.toStdString()));
        ASSERT_FALSE(written.isNull()) << shown->file.toStdString();
        EXPECT_EQ(shown->image.convertToFormat(QImage::Format_ARGB32), written.convertToFormat(QImage::Format_ARGB32))
            << label << ": " << shown->file.toStdString();
    }
}

TEST_F(WindowProject, theTitlesFollowTheProject_andAChangeClearsTheLastReport)
{
    test::makeProject(test::projectLayouts()[1], path("MyApp"));
    controller().openProject(path("MyApp"));
    waitUntilSettled();
    EXPECT_TRUE(window->windowTitle().startsWith("MyApp")) << window->windowTitle().toStdString();
    auto* title = window->findChild<QLabel*>(QStringLiteral("projectTitle"));
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->text().contains("no quorva.toml yet"));
    button("saveProjectButton").click();
    EXPECT_FALSE(title->text().contains("no quorva.toml yet")) << title->text().toStdString();

    button("syncButton").click();
    waitForJobs();
    ASSERT_FALSE(status().isEmpty());
    chooseColour(*window, button("projectColourButton"), QColor(0x20, 0x40, 0x60));
    waitUntilSettled();
    EXPECT_TRUE(status().isEmpty()) << "the report told of the colour before: " << status().toStdString();
}

TEST_F(WindowProject, aBrokenQuorvaToml_isOfferedToBeOpened)
{
    test::makeProject(test::projectLayouts()[1], path("app"));
    test::writeBytes(path("app/quorva.toml"), "source = \"x.png\"\n[ios\n");
    QList<QUrl> opened;
    controller().setUrlOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    controller().openProject(path("app"));
    waitUntilSettled();
    ASSERT_EQ(statusSeverity(), MessageArea::Severity::Error);
    const int at = status().indexOf("href=\"");
    ASSERT_GE(at, 0) << status().toStdString();
    const QString link = status().mid(at + 6, status().indexOf('"', at + 6) - at - 6);
    emit controller().statusLine()->linkActivated(link);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.front(), QUrl::fromLocalFile(test::str(path("app/quorva.toml"))));
}

TEST_F(WindowProject, aPathGivenToTheWindow_opensAsADropOfItDoes)
{
    test::makeProject(test::projectLayouts()[1], path("app"));
    controller().openPath(test::str(path("app")));
    waitUntilSettled();
    EXPECT_TRUE(controller().projects()->isOpen()) << "a folder is a project";
    button("closeProjectButton").click();
    ASSERT_FALSE(controller().projects()->isOpen());
    controller().openPath(scratch.savePng("icon.png", test::gradientImage(64, 64)));
    waitUntilSettled();
    EXPECT_TRUE(source().startsWith("icon.png")) << source().toStdString();
}
