#pragma once

#include "ui/kindpage.h"

namespace quorva {

// The image set's page: no choices, the source's thirds as @1x, @2x and @3x. Its job rescales on
// the main thread and writes the set once for each image rendered, as the asset catalog's own
// writer does.
class ImageSetPage : public KindPage {
    Q_OBJECT

public:
    using KindPage::KindPage;

    QString choicesKey() const override { return {}; }
    SourceCheck checkSource(const ImageRef& image, bool transparent) const override;
    QString generateTip() const override;
    QString folderPrompt() const override;
    void startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown) override;
    void startJob(const KindJob& job) override;
};

} // namespace quorva
