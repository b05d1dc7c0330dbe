#pragma once

#include "project/projectconfig.h"
#include "project/projecttarget.h"
#include "target/plan.h"
#include "ui/messagearea.h"
#include "ui/projectpreview.h"

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
    // Writes every target. Where quorva.toml is there and the choices differ from it, it is saved
    // first: the files written are always those that quorva-cli sync (and sync --check) make.
    void sync();
    // True once saved; false, with failed emitted, when it can't be.
    bool save();
    // Whether a choice was changed since the project was opened or saved, and not saved.
    bool hasUnsavedEdits() const { return isOpen() && m_edited && unsaved(); }
    // The project's folder's name, for the window's title.
    QString name() const { return m_name; }
    // The source image of the project, as a path the window can load.
    std::optional<std::filesystem::path> source() const;
    // The targets as the window's choices make them.
    std::vector<ProjectTarget> targets() const;
    // Its targets made as Sync makes them, off the main thread; their preview handed to shown on
    // the main thread, with the notes their kinds make (rich text, one target a line) and whether
    // any target refuses.
    // shown says whether it showed them: a later preview may have been asked for meanwhile.
    void makePreview(qreal ratio, const QPalette& palette,
                     const std::function<bool(QImage, QString, QString, bool)>& shown);
    // The targets as the last preview made them.
    const std::vector<TargetPreview>& previews() const { return m_previews; }

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
    bool m_edited = false;
    int m_opening = 0;
    QString m_kinds; // what init found, for a project without quorva.toml: "Flutter"
    QString m_name;  // the folder's name, its links resolved
    std::vector<TargetPreview> m_previews;
    bool m_previewRunning = false;
    std::function<void()> m_nextPreview; // asked for while one was being made
};

} // namespace quorva
