#include "ui/focusringstyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace quorva {

void FocusRingStyle::installWhereNeeded()
{
    QStyle* current = QApplication::style();
    if (dynamic_cast<FocusRingStyle*>(current) || !current
        || current->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return;
    QApplication::setStyle(new FocusRingStyle(QStringLiteral("Fusion")));
}

void FocusRingStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus) || !(option->state & State_Enabled))
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(option->palette.color(QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    painter->restore();
}

} // namespace quorva
