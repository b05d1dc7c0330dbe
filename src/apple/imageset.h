#pragma once

#include "generation/generationcompletion.h"
#include "generation/taskqueues.h"
#include "image/image.h"

#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

namespace quorva {

struct ImageSetEntry {
    QString key;
    QSizeF size; // points, fractions kept
};

// The three scales of an image set for a source of width × height pixels: a third, twice that
// third, and the whole.
std::vector<ImageSetEntry> imageSetSizes(double width, double height);

// The three scales of a vector source: vector art for iOS is drawn at its intrinsic size for 1x,
// and at twice and three times it for 2x and 3x.
std::vector<ImageSetEntry> vectorImageSetSizes(QSize intrinsic);

// Renders the three scales (those of vectorImageSetSizes for a vector image) on the calling thread, each followed by a delivery step on the main
// queue that calls the completion with the run's whole map as it is when the step runs. A
// scale that cannot be rendered prints "Couldn't get image" and ends the job; the steps already
// queued still run. The PNG encodings start on the background pool at once. True when every scale
// was rendered, so that a window, where nobody reads standard output, can say so.
bool makeImageSet(ImageRef image, GenerationCompletion completion, TaskQueues& queues = defaultTaskQueues());

// The same over a table of one's own.
bool makeImageSet(ImageRef image, const std::vector<ImageSetEntry>& table, GenerationCompletion completion,
                  TaskQueues& queues);

// Why no image set can be made of this source, known from its size before anything is rendered,
// as a phrase that completes "Couldn't get image: "; nothing when one can.
std::optional<QString> imageSetRefusal(const Image& image);

// Why the image set of this source could not be rendered, as a phrase that completes
// "Couldn't get image: ", for the window and the command line, where the printed line alone
// says too little.
QString imageSetFailureReason(const Image& image);

} // namespace quorva
