// Makes the README's screenshot: the real main window on the offscreen platform, with an image
// dropped onto it, grabbed to a PNG file. Usage: quorva_screenshot IMAGE OUTPUT.png

#include "ui/dragview.h"
#include "ui/homecontroller.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: quorva_screenshot IMAGE OUTPUT.png\n");
        return 2;
    }
    const auto window = quorva::loadMainWindow();
    window->resize(640, 420);
    window->show();

    quorva::DragView& dropZone = *quorva::homeControllerOf(*window)->dragView();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]))});
    const QPoint centre = dropZone.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dropZone, &enter);
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dropZone, &drop);
    QApplication::processEvents();

    if (!window->grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "quorva_screenshot: couldn't write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
