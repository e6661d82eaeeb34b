// The program's look: the desktop's own style with tighter layout margins and spacing, as
// dialogs laid out in dialog units are, so that the largest pages fit a 1366x768 laptop
// screen beside its title bar and panel.
#pragma once

#include <QProxyStyle>

class CCompactStyle : public QProxyStyle {
  public:
    CCompactStyle();  // over the desktop's default style

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

    static constexpr int kMarginPx = 4;
    static constexpr int kSpacingPx = 4;
};
