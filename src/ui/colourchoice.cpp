#include "ui/colourchoice.h"

#include <QColorDialog>
#include <QCoreApplication>
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

void chooseOpaqueColour(QWidget* over, const QColor& current, const QString& objectName,
                        const std::function<void(const QColor&)>& chosen)
{
    auto* dialog = new QColorDialog(current, over ? over->window() : nullptr);
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(QCoreApplication::translate("quorva::ColourChoice", "Background Colour"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QColorDialog::colorSelected, over, [chosen](const QColor& colour) {
        if (colour.isValid())
            chosen(QColor(colour.rgb()));
    });
    dialog->open();
}

} // namespace quorva
