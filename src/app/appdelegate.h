#pragma once

#include <QObject>

namespace quorva {

// The application's delegate. Quorva does nothing of its own at launch or at quit; the
// platform's defaults apply, so closing the window quits.
class AppDelegate : public QObject {
public:
    using QObject::QObject;
};

} // namespace quorva
