#include "app/appdelegate.h"
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
    return application.exec();
}
