#pragma once

#include "project/projectconfig.h"
#include "project/projecttarget.h"
#include "target/plan.h"
#include "ui/messagearea.h"

#include <QObject>
#include <QPalette>
#include <QPointer>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace quorva {

class ProjectPanel;

// A project opened in the window: its quorva.toml, or the targets found in it when it has none;
// the source and background the panel changes, offered to be saved; Sync writing every target off
// the main thread, as quorva-cli sync does. It tells the window what to show; it shows nothing
// itself but the panel's state.
class ProjectController : public QObject {
    Q_OBJECT

public:
    explicit ProjectController(ProjectPanel* panel, QObject* parent = nullptr);

    bool isOpen() const { return m_root.has_value(); }
    bool isOpening() const { return m_opening > 0; }
    bool isSyncing() const { return m_syncing; }
    // Opens the project in a folder, its files read off the main thread; then opened is called
    // on the main thread with nothing, or with a message saying why it can't be opened.
    void open(const std::filesystem::path& root, const std::function<void(std::optional<QString>)>& opened);
    void close();
    void sync();
    void save();
    // The source image of the project, as a path the window can load.
    std::optional<std::filesystem::path> source() const;
    // The targets as the window's choices make them.
    std::vector<ProjectTarget> targets() const;
    // Its targets' preview, made off the main thread, handed to shown on the main thread.
    void makePreview(qreal ratio, const QPalette& palette, const std::function<void(QImage, QString)>& shown);

signals:
    void sourceChanged();  // the window loads the new source
    void targetsChanged(); // the preview is made again
    void syncDone(const QString& richText, MessageArea::Severity severity);
    void failed(const QString& richText);

private:
    void chooseSource(const QString& path);
    void chooseBackground(const QColor& colour);
    void showState();
    bool unsaved() const;

    QPointer<ProjectPanel> m_panel;
    std::optional<std::filesystem::path> m_root;
    ProjectConfig m_config;
    QByteArray m_savedText; // quorva.toml as it is on the disk; empty when there is none
    // The images init copies out of the way of the targets, which the config names: put in with
    // quorva.toml, or before a sync.
    Plan m_copies;
    bool m_syncing = false;
    int m_opening = 0;
};

} // namespace quorva
