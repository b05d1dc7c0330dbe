#include "ui/mainwindow.h"

#include "ui/focusringstyle.h"
#include "ui/homecontroller.h"
#include "ui_mainwindow.h"

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
    return window;
}

HomeController* homeControllerOf(QMainWindow& window)
{
    return qobject_cast<HomeController*>(window.centralWidget());
}

} // namespace quorva
