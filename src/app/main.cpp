#include "app/appdelegate.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>

namespace {

QIcon applicationIcon()
{
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons/hicolor"), QStringList{QStringLiteral("io.quorva.Quorva.png")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorva"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.quorva.Quorva"));
    QApplication::setWindowIcon(applicationIcon());
    quorva::AppDelegate delegate(&application);
    const auto window = quorva::loadMainWindow();
    window->show();
    return application.exec();
}
