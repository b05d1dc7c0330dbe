#include "ui/segmentedcontrol.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>

namespace quorva {

SegmentedControl::SegmentedControl(QWidget* parent) : QWidget(parent), m_group(new QButtonGroup(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QStringList labels
        = {tr("&App Icon Set"), tr("&Image Set"), tr("A&ndroid Icon"), tr("&Desktop && Web"), tr("&Launch Screen")};
    for (int i = 0; i < labels.size(); ++i) {
        auto* button = new QPushButton(labels[i], this);
        button->setObjectName(QStringLiteral("segment%1").arg(i));
        button->setCheckable(true);
        m_group->addButton(button, i);
        layout->addWidget(button);
    }
    m_group->setExclusive(true);
    // The selected segment in the palette's highlight, as selection reads everywhere else; hovered
    // segments lighten toward it; keyboard focus is a ring in the highlight, a deeper shade of it
    // on the selected segment, where the highlight is the ground.
    QString laterSegments; // each after the first shares its left border with the one before
    for (int i = 1; i < labels.size(); ++i)
        laterSegments += QStringLiteral("QPushButton#segment%1 { border-left: none; }").arg(i);
    const QPalette colours = palette();
    const QColor highlight = colours.color(QPalette::Highlight);
    const QColor hover = QColor::fromRgbF((colours.color(QPalette::Button).redF() * 3 + highlight.redF()) / 4,
                                          (colours.color(QPalette::Button).greenF() * 3 + highlight.greenF()) / 4,
                                          (colours.color(QPalette::Button).blueF() * 3 + highlight.blueF()) / 4);
    setStyleSheet(
        QStringLiteral("QPushButton { padding: 5px 14px; border: 1px solid palette(mid); background: palette(button); }"
                       "QPushButton#segment0 { border-top-left-radius: 5px; border-bottom-left-radius: 5px; }"
                       "%4"
                       "QPushButton#segment%3 { border-top-right-radius: 5px; border-bottom-right-radius: 5px; }"
                       "QPushButton:hover:!checked { background: %1; }"
                       "QPushButton:checked { background: palette(highlight); color: palette(highlighted-text);"
                       " border-color: palette(highlight); }"
                       "QPushButton:focus { border: 2px solid palette(highlight); padding: 4px 13px; }"
                       "QPushButton:checked:focus { border: 2px solid %2; }")
            .arg(hover.name(), highlight.darker(170).name())
            .arg(labels.size() - 1)
            .arg(laterSegments));
    connect(m_group, &QButtonGroup::idClicked, this, &SegmentedControl::selectedSegmentChanged);
}

int SegmentedControl::selectedSegment() const
{
    return m_group->checkedId();
}

void SegmentedControl::setSelectedSegment(int segment)
{
    if (QAbstractButton* button = m_group->button(segment)) {
        button->setChecked(true);
        emit selectedSegmentChanged(segment);
    }
}

} // namespace quorva
