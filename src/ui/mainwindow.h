#pragma once

#include <QMainWindow>

#include <memory>

namespace quorva {

class HomeController;

// Makes the main window from its interface description, connects the controller's outlets by
// name and lets the controller finish loading its view.
std::unique_ptr<QMainWindow> loadMainWindow();

HomeController* homeControllerOf(QMainWindow& window);

} // namespace quorva
