#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QScrollArea;

namespace quorva {

// A message in the window in the manner of an info bar: rich text that wraps beside an icon, on a
// tinted ground with a coloured edge for errors and warnings, so that a failure never looks like
// a success. It keeps a height of its own however short the text (so that nothing below or above
// it moves when messages come and go) and grows with longer text up to a limit, past which it
// scrolls; or, kept for no lines, it is hidden while it has nothing to say. Its links open with
// the mouse; it is no Tab stop.
class MessageArea : public QFrame {
    Q_OBJECT

public:
    enum class Severity { Plain, Success, Warning, Error };

    explicit MessageArea(QWidget* parent = nullptr);

    QString text() const;
    Severity severity() const { return m_severity; }
    void setMessage(const QString& richText, Severity severity = Severity::Plain);
    void clear() { setMessage({}); }
    QLabel* label() const { return m_label; }
    // The lines it always keeps room for (none: hidden when empty), and those it grows to before
    // it scrolls.
    void setLines(int reserved, int most);

signals:
    void linkActivated(const QString& link);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitHeight();
    void restyle();

    QLabel* m_icon;
    QLabel* m_label;
    QScrollArea* m_scroll;
    Severity m_severity = Severity::Plain;
    int m_reservedLines = 2;
    int m_mostLines = 5;
    bool m_restyling = false;
};

} // namespace quorva
