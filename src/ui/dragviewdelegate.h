#pragma once

#include <QUrl>

namespace quorva {

// Receives the files that the drop zone takes.
class DragViewDelegate {
public:
    virtual ~DragViewDelegate() = default;
    virtual void dragViewDidReceiveFile(const QUrl& fileUrl) = 0;
};

} // namespace quorva
