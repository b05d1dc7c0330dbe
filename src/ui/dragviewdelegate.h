#pragma once

#include <QUrl>

namespace quorva {

// Receives the files that the drop zone takes, and the folders: a project's.
class DragViewDelegate {
public:
    virtual ~DragViewDelegate() = default;
    virtual void dragViewDidReceiveFile(const QUrl& fileUrl) = 0;
    virtual void dragViewDidReceiveFolder(const QUrl& folderUrl) { (void)folderUrl; }
};

} // namespace quorva
