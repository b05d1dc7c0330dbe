#pragma once

#include "image/imageloading.h"
#include "ui/dragviewdelegate.h"
#include "ui/iconpreview.h"
#include "ui/imagewell.h"
#include "ui/kindpage.h"
#include "ui/messagearea.h"
#include "ui/projectpanel.h"
#include "ui/segmentedcontrol.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace quorva {

class DragView;
struct JobSummary;
class ProjectController;

// The window's controller: takes dropped images, has the page the segmented control selects say
// before anything is asked what is wrong or surprising in them and show what its files will look
// like, asks for a destination folder, and starts that page's job. It knows no kind and writes no
// files itself; the status area says what happened.
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
    MessageArea* statusLine() const { return m_statusLine; }
    IconPreview* preview() const { return m_preview; }
    MessageArea* sourceNotes() const { return m_sourceNotes; }
    QLabel* sourceLabel() const { return m_sourceLabel; }

    const std::optional<std::filesystem::path>& selectedFolder() const { return m_selectedFolder; }
    const std::optional<QString>& selectedAssetName() const { return *m_selectedAssetName; }

    // Whether an image is being loaded, or a preview made, off the main thread.
    bool isLoading() const;
    bool isPreviewing() const { return m_previewsShown < m_previewsStarted; }
    // Whether a job started here has a writer call still to come.
    bool isWorking() const;

    // How Open Folder and Help open what they show: the desktop's handler unless told otherwise.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }

    // Connects each outlet to the child of its name; false when one the window cannot do without is missing.
    bool connectOutlets();
    void viewDidLoad();

    void dragViewDidReceiveFile(const QUrl& fileUrl) override;
    void dragViewDidReceiveFolder(const QUrl& folderUrl) override;

    // A file or folder given to the window (on its command line, by the desktop): an image
    // loaded, or a project opened.
    void openPath(const QString& path);
    // A project opened in the window, its targets in place of a kind's; and closed again.
    void openProject(const std::filesystem::path& root);
    ProjectController* projects() const { return m_projects; }
    ProjectPanel* projectPanel() const { return m_projectPanel; }

public slots:
    void chooseProject();
    void closeProject();
    void openSelection();
    void openFolder();
    void showAbout();
    void showHelp();
    void showShortcuts();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Closing the window with a project's choices unsaved asks first.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What loading a file off the main thread gives: the image, and what the window shows of it.
    struct Loaded {
        LoadedImage image;
        bool transparent = false;
        QImage display; // the image within 1024 × 1024, for the well
    };
    void loaded(quint64 ticket, const QString& path, const Loaded& result);
    void panelDidEnd(int response, const QStringList& folders);
    void startJob(bool force = false);
    void writeAnyway();
    // The kind and the choices a message was made for: it goes when they change.
    QString choicesKey() const;
    // The status area, Open Folder and Write Anyway no longer tell of the last job.
    void forgetLastJob();
    void jobEnded();
    void showStatus(const QString& richText, MessageArea::Severity severity = MessageArea::Severity::Plain);
    void showJob(const JobSummary& summary);
    void refresh();
    void updatePreview();
    void beginBusy();
    void endBusy();
    // The page the segmented control selects; none when no segment is.
    KindPage* page() const;
    QList<KindPage*> pages() const;
    void fitColumn();
    // The window's title: the project's name in a project, else the image's.
    void showTitle();
    // Asks whether to save the project's unsaved choices, then calls then unless the answer is
    // Cancel (or the save fails); at once when there is nothing unsaved.
    void whenChoicesKept(const std::function<void()>& then);

    DragView* m_dragView = nullptr; // a child: the window owns both
    QPointer<ImageWell> m_imageView;
    QPointer<SegmentedControl> m_segmentedControl;
    QPointer<MessageArea> m_statusLine;
    QPointer<ProjectPanel> m_projectPanel;
    ProjectController* m_projects = nullptr; // a child
    QPointer<QStackedWidget> m_optionsStack; // a page for each kind, in the segments' order, then the project's
    QPointer<IconPreview> m_preview;
    QPointer<MessageArea> m_sourceNotes;
    QPointer<QLabel> m_sourceLabel;
    QPointer<QWidget> m_column;
    QPointer<QPushButton> m_generateButton;
    QPointer<QPushButton> m_openFolderButton;
    QPointer<QPushButton> m_writeAnywayButton;
    QPointer<QAction> m_generateAction;

    std::optional<std::filesystem::path> m_selectedFolder;
    // Shared with the image set writers, which read it at every call and may outlive the window.
    std::shared_ptr<std::optional<QString>> m_selectedAssetName = std::make_shared<std::optional<QString>>();
    QString m_sourceFileName;
    QString m_sourcePath;
    bool m_sourceHasTransparency = false;
    QString m_lastFolder;                                 // of the destination last chosen in this run
    std::optional<std::filesystem::path> m_writtenFolder; // what Open Folder opens
    std::shared_ptr<JobSummary> m_lastJob;                // what the status area tells
    bool m_openFolderFailed = false;
    QString m_jobChoices;              // choicesKey() when the last job started
    bool m_generateWhenLoaded = false; // Generate was asked for while an image loaded
    quint64 m_loadsStarted = 0, m_loadsApplied = 0;
    quint64 m_previewsStarted = 0, m_previewsShown = 0;
    int m_jobsRunning = 0;
    std::function<bool(const QUrl&)> m_openUrl;
    int m_busy = 0;
    bool m_busyShown = false;
};

} // namespace quorva
