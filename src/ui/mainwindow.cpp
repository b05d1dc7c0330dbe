#include "ui/mainwindow.h"

#include "ui/focusringstyle.h"
#include "ui/homecontroller.h"
#include "ui_mainwindow.h"

#include <QDirIterator>
#include <QScreen>

namespace quorva {

std::unique_ptr<QMainWindow> loadMainWindow()
{
    FocusRingStyle::installWhereNeeded();
    auto window = std::make_unique<QMainWindow>();
    Ui::MainWindow form;
    form.setupUi(window.get());
    window->setCentralWidget(form.homeController);
    if (!form.homeController->connectOutlets())
        qFatal("The main window's interface description lacks an outlet of the controller");
    form.homeController->viewDidLoad();
    // Never larger than the screen it opens on, whatever its scale.
    if (const QScreen* screen = window->screen()) {
        const QSize room = screen->availableGeometry().size() * 0.92;
        window->resize(window->size().boundedTo(room).expandedTo(window->minimumSizeHint()));
    }
    return window;
}

QIcon applicationIcon()
{
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons/hicolor"), QStringList{QStringLiteral("io.quorva.Quorva.png")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}

HomeController* homeControllerOf(QMainWindow& window)
{
    return qobject_cast<HomeController*>(window.centralWidget());
}

} // namespace quorva
