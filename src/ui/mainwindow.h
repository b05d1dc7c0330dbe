#pragma once

#include <QIcon>
#include <QMainWindow>

#include <memory>

namespace quorva {

class HomeController;

// Makes the main window from its interface description, connects the controller's outlets by
// name and lets the controller finish loading its view.
std::unique_ptr<QMainWindow> loadMainWindow();

HomeController* homeControllerOf(QMainWindow& window);

// Quorva's own icon, at every size it is drawn in.
QIcon applicationIcon();

} // namespace quorva
