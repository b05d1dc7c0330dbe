// A project's folder dropped onto the window, or opened from the File menu: its targets shown
// with their icons, Sync writing what quorva-cli sync writes, and a changed colour offered to be
// saved into quorva.toml.
#include "windowfixture.h"

#include "../project/projectlayouts.h"
#include "ui/projectcontroller.h"

#include <QColorDialog>
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
