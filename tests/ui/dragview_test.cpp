#include "windowfixture.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QTest>

using namespace quorva;

namespace {

struct RecordingDelegate : DragViewDelegate {
    QList<QUrl> received;
    void dragViewDidReceiveFile(const QUrl& fileUrl) override { received << fileUrl; }
};

class DragViewTest : public test::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        dragView().delegate = &delegate;
    }

    // A drag enter with this drag; whether the view took it, offering copy.
    bool enter(const QMimeData& data)
    {
        QDragEnterEvent event(dragView().rect().center(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&dragView(), &event);
        EXPECT_TRUE(!event.isAccepted() || event.dropAction() == Qt::CopyAction);
        return event.isAccepted();
    }
    bool enter(const QStringList& files) { return enter(*filesDrag(files)); }
    QString file(const std::string& name) const { return test::str(path(name)); }

    RecordingDelegate delegate;
};

} // namespace

TEST_F(DragViewTest, theFirstFilesExtensionDecides_hoveringUntilTheDragLeaves)
{
    EXPECT_EQ(dragView().hoverColor(), dragView().palette().color(QPalette::Highlight));
    EXPECT_NE(dragView().idleColor(), dragView().hoverColor());
    for (const char* name : {"photo.png", "photo.jpg", "photo.jpeg", "IMG_0001.JPG", "Logo.Png", "a.b.JPEG", "art.svg",
                             "art.SVGZ", "shot.webp", "anim.GIF", "scan.bmp", "folder.png/"}) {
        EXPECT_TRUE(enter({file(name), file("notes.txt")})) << name;
        EXPECT_EQ(dragView().backgroundColor(), dragView().hoverColor()) << name;
        QDragLeaveEvent leave;
        QApplication::sendEvent(&dragView(), &leave);
        EXPECT_EQ(dragView().backgroundColor(), dragView().idleColor()) << name;
    }
    for (const char* name : {"icon.tiff", "notes.txt", "README", "archive.png.zip", ".png.", "png"}) {
        EXPECT_FALSE(enter({file(name), file("photo.png")})) << name;
        EXPECT_EQ(dragView().backgroundColor(), dragView().idleColor()) << name;
    }
    QMimeData text;
    text.setText(QStringLiteral("photo.png"));
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.com/photo.png"))});
    EXPECT_FALSE(enter(text)) << "text is no file";
    EXPECT_FALSE(enter(remote)) << "only local files";
    EXPECT_TRUE(delegate.received.isEmpty());
}

TEST_F(DragViewTest, dropDeliversTheFirstFileUnopened_onTheZoneOrTheWell_withOrWithoutADelegate)
{
    std::filesystem::create_directory(path("x.png"));
    ASSERT_TRUE(dragAndDrop({file("x.png"), file("second.png")}));
    EXPECT_EQ(delegate.received, QList<QUrl>{QUrl::fromLocalFile(file("x.png"))});
    EXPECT_EQ(dragView().backgroundColor(), dragView().idleColor()) << "the drop ends the drag";
    ASSERT_TRUE(dragAndDrop({file("onto the well.png")}, &imageWell()));
    EXPECT_EQ(delegate.received.last(), QUrl::fromLocalFile(file("onto the well.png")));
    EXPECT_FALSE(dragAndDrop({file("notes.txt")}, &imageWell()));
    dragView().delegate = nullptr;
    EXPECT_TRUE(dragAndDrop({file("photo.png")}));
}

TEST_F(DragViewTest, clickOrKeyboard_opensAnImageChooserWhoseFileIsDelivered)
{
    const QString chosen = scratch.savePng("chosen.png", test::solidImage(4, 4, qRgb(1, 2, 3)));
    QTest::mouseClick(&dragView(), Qt::LeftButton);
    QFileDialog* chooser = openDialog("imageChooser");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->fileMode(), QFileDialog::ExistingFile);
    chooser->setDirectory(test::str(scratch.root));
    chooser->selectFile(chosen);
    static_cast<QDialog*>(chooser)->accept();
    EXPECT_EQ(delegate.received, QList<QUrl>{QUrl::fromLocalFile(chosen)});

    dragView().setFocus();
    QTest::keyClick(&dragView(), Qt::Key_Space);
    QFileDialog* again = openDialog("imageChooser");
    ASSERT_NE(again, nullptr) << "Space opens it too";
    again->reject();
    EXPECT_EQ(delegate.received.size(), 1);
}
