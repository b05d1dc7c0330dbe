#include "ui/colourswatch.h"

#include <QPainter>
#include <QPixmap>

namespace quorva {

QIcon colourSwatch(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

} // namespace quorva
