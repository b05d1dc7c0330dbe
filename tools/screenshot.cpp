// Makes the README's screenshot: the real main window on the offscreen platform, with an image
// dropped onto it and its preview made, grabbed to a PNG file.
// Usage: quorva_screenshot IMAGE OUTPUT.png [WIDTH HEIGHT]
#include "ui/dragview.h"
#include "ui/homecontroller.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QUrl>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: quorva_screenshot IMAGE OUTPUT.png [WIDTH HEIGHT]\n");
        return 2;
    }
    const auto window = quorva::loadMainWindow();
    window->resize(argc == 5 ? std::atoi(argv[3]) : 760, argc == 5 ? std::atoi(argv[4]) : 600);
    window->show();

    quorva::HomeController& controller = *quorva::homeControllerOf(*window);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]))});
    const QPoint centre = controller.dragView()->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(controller.dragView(), &enter);
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(controller.dragView(), &drop);
    QElapsedTimer waited;
    waited.start();
    while ((controller.isLoading() || controller.isPreviewing()) && waited.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();

    if (!window->grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "quorva_screenshot: couldn't write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
