#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;

namespace quorva {

// A project's choices, in place of a kind's: what the project is, its source image and the
// background every target shares, with Sync, which writes every target, Save, offered once a
// choice differs from quorva.toml (or there is none yet), and Close.
class ProjectPanel : public QWidget {
    Q_OBJECT

public:
    explicit ProjectPanel(QWidget* parent = nullptr);

    void setProject(const QString& title);
    void setSource(const QString& path);
    // The shared background; none: each target's own, or none at all.
    void setBackground(const std::optional<QColor>& colour);
    std::optional<QColor> background() const { return m_colour; }
    // Whether the choices differ from quorva.toml, which Save then writes.
    void setUnsaved(bool unsaved, bool fileThere);
    void setBusy(bool busy);
    QList<QWidget*> focusOrder() const;

public slots:
    void chooseBackground();

signals:
    void sourceChosen(const QString& path);
    void backgroundChosen(const QColor& colour);
    void syncRequested();
    void saveRequested();
    void closeRequested();

private:
    void chooseSource();

    QLabel* m_title;
    QLabel* m_source;
    QPushButton* m_sourceButton;
    QPushButton* m_colourButton;
    QPushButton* m_sync;
    QPushButton* m_save;
    QPushButton* m_close;
    std::optional<QColor> m_colour;
    QString m_sourcePath;
};

} // namespace quorva
