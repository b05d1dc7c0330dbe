#include "ui/statusline.h"

#include <QLabel>
#include <QScrollBar>

namespace quorva {

StatusLine::StatusLine(QWidget* parent) : QScrollArea(parent), m_label(new QLabel(this))
{
    m_label->setObjectName(QStringLiteral("statusText"));
    m_label->setTextFormat(Qt::RichText);
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::TextSelectableByMouse);
    m_label->setFocusPolicy(Qt::NoFocus);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setAccessibleName(tr("Status"));
    connect(m_label, &QLabel::linkActivated, this, &StatusLine::linkActivated);
    setWidget(m_label);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    m_label->setAutoFillBackground(false);
    setVisibleLines(3);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void StatusLine::setVisibleLines(int lines)
{
    setFixedHeight(fontMetrics().lineSpacing() * lines + 4);
}

QString StatusLine::text() const
{
    return m_label->text();
}

void StatusLine::setText(const QString& richText)
{
    m_label->setText(richText);
    verticalScrollBar()->setValue(0);
}

} // namespace quorva
