#include "ui/messagearea.h"

#include "ui/mixedcolour.h"
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

namespace quorva {
namespace {

constexpr int padding = 6;

// A white tick on a disc of the success colour, drawn rather than the style's, whose pale tick
// all but vanishes on the green-tinted ground.
QPixmap tickGlyph(int side, qreal ratio, const QColor& colour)
{
    QPixmap glyph(QSize(side, side) * ratio);
    glyph.setDevicePixelRatio(ratio);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(0.5, 0.5, side - 1, side - 1));
    painter.setPen(QPen(Qt::white, std::max(1.5, side / 8.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPolygonF tick(
        {QPointF(side * 0.27, side * 0.52), QPointF(side * 0.44, side * 0.68), QPointF(side * 0.74, side * 0.34)});
    painter.drawPolyline(tick);
    return glyph;
}

} // namespace

MessageArea::MessageArea(QWidget* parent)
    : QFrame(parent), m_icon(new QLabel(this)), m_label(new QLabel), m_scroll(new QScrollArea(this))
{
    m_label->setObjectName(QStringLiteral("messageText"));
    m_label->setTextFormat(Qt::RichText);
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::TextSelectableByMouse);
    m_label->setFocusPolicy(Qt::NoFocus);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(m_label, &QLabel::linkActivated, this, &MessageArea::linkActivated);
    m_scroll->setWidget(m_label);
    // After setWidget, which has the widget fill its background: the text lies on the tint.
    m_label->setAutoFillBackground(false);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding); // the text clear of the frame
    layout->setSpacing(padding);
    layout->addWidget(m_icon);
    layout->addWidget(m_scroll, 1);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    restyle();
    fitHeight();
}

QString MessageArea::text() const
{
    return m_label->text();
}

void MessageArea::setMessage(const QString& richText, Severity severity)
{
    m_label->setText(richText);
    m_severity = richText.isEmpty() ? Severity::Plain : severity;
    m_label->setAccessibleName(m_severity == Severity::Error         ? tr("Error")
                                   : m_severity == Severity::Warning ? tr("Warning")
                                                                     : tr("Message"));
    restyle();
    fitHeight();
    m_scroll->verticalScrollBar()->setValue(0);
}

void MessageArea::setLines(int reserved, int most)
{
    m_reservedLines = reserved;
    m_mostLines = std::max(reserved, most);
    fitHeight();
}

void MessageArea::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    fitHeight();
}

void MessageArea::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    // Its own style sheet changes the style and the palette too: only a change from outside counts.
    if (!m_restyling && (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange))
        restyle();
}

void MessageArea::fitHeight()
{
    const int line = m_label->fontMetrics().lineSpacing();
    const int textWidth = std::max(1, width() - 2 * padding - m_icon->sizeHint().width() - padding - frameWidth() * 2);
    const int wanted = m_label->text().isEmpty() ? 0 : m_label->heightForWidth(textWidth);
    const int text = std::clamp(wanted, line * m_reservedLines, line * m_mostLines);
    const int height = text + 2 * padding + frameWidth() * 2 + 2;
    if (height != this->height() || minimumHeight() != height)
        setFixedHeight(height);
    // Without lines of its own to keep, it takes no room while it has nothing to say.
    if (m_reservedLines == 0 && (isHidden() != m_label->text().isEmpty()) && parentWidget())
        setVisible(!m_label->text().isEmpty());
}

void MessageArea::restyle()
{
    const QScopedValueRollback<bool> restyling(m_restyling, true);
    // The window's ground, not this box's own: its style sheet has made that the last tint, and
    // each tint would go over the one before.
    const QColor ground
        = (parentWidget() ? parentWidget()->palette() : QGuiApplication::palette()).color(QPalette::Window);
    QColor accent;
    QStyle::StandardPixmap glyph = QStyle::SP_CustomBase;
    switch (m_severity) {
    case Severity::Error:
        accent = QColor(0xd0, 0x30, 0x30);
        glyph = QStyle::SP_MessageBoxCritical;
        break;
    case Severity::Warning:
        accent = QColor(0xd8, 0x90, 0x10);
        glyph = QStyle::SP_MessageBoxWarning;
        break;
    case Severity::Success:
        accent = QColor(0x30, 0xa0, 0x50);
        glyph = QStyle::SP_DialogApplyButton;
        break;
    case Severity::Plain:
        break;
    }
    const int side = m_label->fontMetrics().height();
    m_icon->setPixmap(glyph == QStyle::SP_CustomBase ? QPixmap()
                          : glyph == QStyle::SP_DialogApplyButton
                          ? tickGlyph(side, devicePixelRatioF(), accent.darker(115))
                          : style()->standardIcon(glyph).pixmap(side, side));
    m_icon->setFixedWidth(glyph == QStyle::SP_CustomBase ? 0 : side);
    if (!accent.isValid()) {
        setStyleSheet(QStringLiteral("quorva--MessageArea { border: 1px solid transparent; border-radius: 6px; }"));
        return;
    }
    // The ground tinted by the accent, light or dark as the palette is; text keeps its colour.
    setStyleSheet(QStringLiteral("quorva--MessageArea { background: %1; border: 1px solid %2; border-radius: 6px; }")
                      .arg(mixedColour(ground, accent, 0.16).name(), accent.name()));
}

} // namespace quorva
