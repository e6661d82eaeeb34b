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
    // A one-line caption of a button, check box or radio button is as tall as a line of the
    // widget's own face. A CJK face that draws the Chinese glyphs may have a much taller
    // line (Noto Sans CJK: some 25 % more) although its glyphs fit that line; measured by its
    // line, every row of buttons grew and the largest page no longer fitted the screen.
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override;

    static constexpr int kMarginPx = 4;
    static constexpr int kSpacingPx = 4;
};
