#pragma once

#include "image/image.h"
#include "target/installreport.h"
#include "ui/sourcecheck.h"

#include <QImage>
#include <QList>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace quorva {

// A job a page starts when Generate has a folder: every writer call it makes reports through told,
// on the main thread (nothing for a call that only counts), and it has ended once as many calls
// have come as it said with expect.
struct KindJob {
    ImageRef image;
    QString sourcePath; // the file it was read from, as the lines name it
    std::optional<std::filesystem::path> folder;
    bool force = false; // Write Anyway: what the last report offered to force
    // The dropped file's name for an image set, read on the main thread when the set is written.
    std::shared_ptr<const std::optional<QString>> assetName;
    std::function<void(std::optional<WriteReport>)> told;
    std::function<void(int)> expect;
    // The preview shown was made of this image and these choices: what it planned may be written.
    bool previewIsCurrent = false;
};

// A preview made off the main thread, with its words: shown unless a newer one is coming; true
// when it was.
using PreviewShown = std::function<bool(QImage, QString)>;

// One kind's page of the window: its choices, what it says of a source, its preview and its job.
// The window shows the page its segment selects and knows no kind.
class KindPage : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // The choices in short: what a message was made for, which goes once they change.
    virtual QString choicesKey() const = 0;
    virtual SourceCheck checkSource(const ImageRef& image, bool transparent) const = 0;
    // Some choices need transparent art; they say so once the source is known.
    virtual void setSourceHasTransparency(bool transparent) { (void)transparent; }
    // What Generate does, for its tooltip, and what the folder panel asks for.
    virtual QString generateTip() const = 0;
    virtual QString folderPrompt() const = 0;
    virtual void startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown) = 0;
    virtual void startJob(const KindJob& job) = 0;
    // The controls in reading order, as Tab goes through them.
    virtual QList<QWidget*> focusOrder() const { return {}; }
    // What a source note's link offers: the background colour.
    virtual void chooseBackground() {}

signals:
    void changed();
};

} // namespace quorva
