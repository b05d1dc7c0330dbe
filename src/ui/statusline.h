#pragma once

#include <QScrollArea>

class QLabel;

namespace quorva {

// The window's status: rich text that wraps, in a box of three lines that scrolls when the text is
// longer, so that a long message never pushes a control aside. Its links open with the mouse; the
// keyboard has the Open Folder button instead, so it is no Tab stop.
class StatusLine : public QScrollArea {
    Q_OBJECT

public:
    explicit StatusLine(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& richText);
    QLabel* label() const { return m_label; }
    // How many lines it shows before it scrolls; three unless told otherwise.
    void setVisibleLines(int lines);

signals:
    void linkActivated(const QString& link);

private:
    QLabel* m_label;
};

} // namespace quorva
