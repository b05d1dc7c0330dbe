#pragma once

#include <QWidget>

class QButtonGroup;

namespace quorva {

// Segments side by side, exactly one selected: what kind of set to make.
class SegmentedControl : public QWidget {
    Q_OBJECT

public:
    explicit SegmentedControl(QWidget* parent = nullptr);

    int selectedSegment() const;
    void setSelectedSegment(int segment);

signals:
    void selectedSegmentChanged(int segment);

private:
    QButtonGroup* m_group;
};

} // namespace quorva
