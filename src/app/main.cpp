#include "app/appdelegate.h"
#include "ui/dragview.h"
#include "ui/homecontroller.h"
#include "ui/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorva"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.quorva.Quorva"));
    QApplication::setWindowIcon(quorva::applicationIcon());
    quorva::AppDelegate delegate(&application);
    const auto window = quorva::loadMainWindow();
    window->show();
    // The desktop's "Open With", and a file manager's drop onto the launcher: the first file or
    // folder given.
    if (const QStringList given = QApplication::arguments().mid(1); !given.isEmpty())
        if (quorva::HomeController* home = quorva::homeControllerOf(*window))
            home->openPath(given.front());
    return application.exec();
}
