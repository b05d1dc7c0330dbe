#pragma once

#include "ui/dragviewdelegate.h"
#include "ui/imagewell.h"
#include "ui/segmentedcontrol.h"

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>

namespace quorva {

class DragView;

// The window's controller: takes dropped images, asks for a destination folder, and starts the
// job that the segmented control selects with the matching catalog writer. It writes no files
// itself; the status line says what happened.
class HomeController : public QWidget, public DragViewDelegate {
    Q_OBJECT

public:
    explicit HomeController(QWidget* parent = nullptr);

    // Outlets, connected by name once the interface description has made the window.
    DragView* dragView() const { return m_dragView; }
    void setDragView(DragView* view) { m_dragView = view; }
    ImageWell* imageView() const { return m_imageView; }
    void setImageView(ImageWell* view) { m_imageView = view; }
    SegmentedControl* segmentedControl() const { return m_segmentedControl; }
    void setSegmentedControl(SegmentedControl* control) { m_segmentedControl = control; }
    QLabel* statusLine() const { return m_statusLine; }
    void setStatusLine(QLabel* label) { m_statusLine = label; }

    const std::optional<std::filesystem::path>& selectedFolder() const { return m_selectedFolder; }
    const std::optional<QString>& selectedAssetName() const { return *m_selectedAssetName; }

    // Connects each outlet to the child of its name; false when one is missing.
    bool connectOutlets();
    void viewDidLoad();

    void dragViewDidReceiveFile(const QUrl& fileUrl) override;

public slots:
    void openSelection();

private:
    void panelDidEnd(int response, const QStringList& folders);
    void startJob();
    void showStatus(const QString& richText);
    void showSourceDetails();

    DragView* m_dragView = nullptr; // a child: the window owns both
    QPointer<ImageWell> m_imageView;
    QPointer<SegmentedControl> m_segmentedControl;
    QPointer<QLabel> m_statusLine;
    std::optional<std::filesystem::path> m_selectedFolder;
    // Shared with the image set writers, which read it at every call and may outlive the window.
    std::shared_ptr<std::optional<QString>> m_selectedAssetName = std::make_shared<std::optional<QString>>();
    QString m_sourceFileName;
    bool m_sourceHasTransparency = false;
};

} // namespace quorva
