#pragma once

#include <QProxyStyle>

namespace quorva {

// Qt's Fusion style, which a desktop without a Qt theme gets, draws a focused push button exactly
// as an unfocused one, so that the keyboard's place can't be seen. This draws a ring of the
// palette's highlight around it; under a desktop's own style nothing changes.
class FocusRingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    // Installs it over the application's style when that is one without a visible focus.
    static void installWhereNeeded();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

} // namespace quorva
