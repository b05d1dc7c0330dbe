// Makes the README's screenshot and the pictures of the window's states: the real main window on
// the offscreen platform, with an image dropped onto it and its preview made, grabbed to a PNG
// file.
// Usage: quorva_screenshot IMAGE OUTPUT.png [WIDTH HEIGHT] [imageset] [android] [appearances] [fail] [dark]
//        [desktop] [platforms] [success]
//   imageset     the Image Set segment chosen
//   android      the Android Icon segment chosen, themed
//   desktop      the Desktop & Web segment chosen
//   appearances  a single-size set with dark and tinted icons on a white background
//   platforms    the app icon set with the Mac's and the watch's icons too
//   fail         written where it can't be: a file's place taken by a folder, or (Android) a folder
//                that is no source set's res
//   success      written into a fresh folder
//   dark         the Fusion style with a dark palette
#include "ui/dragview.h"
#include "ui/homecontroller.h"
#include "ui/mainwindow.h"
#include "ui/segmentedcontrol.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMimeData>
#include <QPalette>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

namespace {

void settle(const quorva::HomeController& controller)
{
    QElapsedTimer waited;
    waited.start();
    while ((controller.isLoading() || controller.isPreviewing() || controller.isWorking()) && waited.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
}

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    palette.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    palette.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8));
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x8e, 0xe6));
    palette.setColor(QPalette::PlaceholderText, QColor(0xa0, 0xa0, 0xa0));
    return palette;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    const auto flag = [&arguments](const char* name) { return arguments.removeAll(QLatin1String(name)) > 0; };
    const bool imageSet = flag("imageset"), android = flag("android"), appearances = flag("appearances"),
               fail = flag("fail"), dark = flag("dark"), desktop = flag("desktop"), platforms = flag("platforms"),
               success = flag("success");
    if (arguments.size() != 2 && arguments.size() != 4) {
        std::fprintf(stderr,
                     "usage: quorva_screenshot IMAGE OUTPUT.png [WIDTH HEIGHT] [imageset] [android] [appearances] "
                     "[fail] [dark]\n");
        return 2;
    }
    if (dark) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
    }
    const auto window = quorva::loadMainWindow();
    if (arguments.size() == 4)
        window->resize(arguments[2].toInt(), arguments[3].toInt());
    window->show();

    quorva::HomeController& controller = *quorva::homeControllerOf(*window);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(arguments[0])});
    const QPoint centre = controller.dragView()->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(controller.dragView(), &enter);
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(controller.dragView(), &drop);
    settle(controller);
    if (appearances) {
        window->findChild<QComboBox*>(QStringLiteral("sizesChoice"))->setCurrentIndex(1);
        for (const char* box : {"backgroundBox", "darkBox", "tintedBox"})
            window->findChild<QCheckBox*>(QLatin1String(box))->setChecked(true);
        settle(controller);
    }
    if (platforms) {
        for (const char* box : {"macBox", "watchBox"})
            if (auto* platform = window->findChild<QCheckBox*>(QLatin1String(box)))
                platform->setChecked(true);
        settle(controller);
    }
    if (imageSet) {
        controller.segmentedControl()->setSelectedSegment(1);
        settle(controller);
    }
    if (android) {
        controller.segmentedControl()->setSelectedSegment(2);
        window->findChild<QCheckBox*>(QStringLiteral("monochromeBox"))->setChecked(true);
        settle(controller);
    }
    if (desktop) {
        controller.segmentedControl()->setSelectedSegment(3);
        settle(controller);
    }
    QTemporaryDir out;
    if (fail || success) {
        QString folder = out.path();
        if (fail && android) {
            folder += QStringLiteral("/icons"); // no source set's res folder
        } else if (android) {
            folder += QStringLiteral("/app/src/main/res");
        } else if (fail) {
            // A folder where one of the files should go: that file can't be written.
            QDir().mkpath(out.path()
                          + (desktop ? QStringLiteral("/icon.ico")
                                 : imageSet
                                 ? QStringLiteral("/Quorva/asset/iOS/%1.imageset/asset@2x.png")
                                       .arg(QFileInfo(arguments[0]).completeBaseName())
                                 : QStringLiteral("/Quorva/icon/iOS/AppIcon.appiconset/Icon-App-60x60@2x.png")));
        }
        QDir().mkpath(folder);
        controller.openSelection();
        QApplication::processEvents();
        if (auto* panel = window->findChild<QFileDialog*>(QStringLiteral("folderPanel"))) {
            panel->setDirectory(folder);
            static_cast<QDialog*>(panel)->accept();
        }
        settle(controller);
    }

    if (!window->grab().save(arguments[1], "PNG")) {
        std::fprintf(stderr, "quorva_screenshot: couldn't write %s\n", qPrintable(arguments[1]));
        return 1;
    }
    return 0;
}
