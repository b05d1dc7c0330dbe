#include "windowfixture.h"

#include "generation/jobpool.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QTest>
#include <QThreadPool>

namespace quorva::test {

void WindowFixture::SetUp()
{
    ASSERT_TRUE(scratch.dir.isValid());
    window = loadMainWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowFixture::TearDown()
{
    waitForJobs();
    window.reset();
    // A preview outrun by a newer one may still be working: its result, posted to the loop, is
    // delivered (to nobody) before the next test, not left queued at exit.
    EXPECT_TRUE(jobPool().waitForDone(30000));
    QCoreApplication::sendPostedEvents();
}

std::filesystem::path WindowFixture::folder(const std::string& name) const
{
    std::filesystem::create_directories(path(name));
    return path(name);
}

std::unique_ptr<QMimeData> WindowFixture::filesDrag(const QStringList& files)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data->setUrls(urls);
    return data;
}

bool WindowFixture::dragAndDrop(const QStringList& files, QWidget* target)
{
    target = target ? target : &dragView();
    const auto data = filesDrag(files);
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(centre), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    waitUntilSettled();
    return drop.isAccepted();
}

void WindowFixture::waitUntilSettled() const
{
    EXPECT_TRUE(QTest::qWaitFor([this] { return !controller().isLoading() && !controller().isPreviewing(); }, 30000));
}

QFileDialog* WindowFixture::openDialog(const char* objectName) const
{
    QFileDialog* found = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            found = window->findChild<QFileDialog*>(QLatin1String(objectName));
            return found && found->isVisible();
        },
        5000);
    return found && found->isVisible() ? found : nullptr;
}

void WindowFixture::generateInto(const std::filesystem::path& folder)
{
    controller().openSelection();
    QFileDialog* panel = openDialog("folderPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->windowModality(), Qt::WindowModal);
    EXPECT_EQ(panel->fileMode(), QFileDialog::Directory);
    // Standing in the folder with nothing selected chooses the folder itself.
    panel->setDirectory(QString::fromStdString(folder.string()));
    static_cast<QDialog*>(panel)->accept(); // as the OK button does
}

void WindowFixture::waitForJobs() const
{
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return !controller().isWorking() && !controller().isLoading() && !controller().isPreviewing(); },
        120000));
}

} // namespace quorva::test
