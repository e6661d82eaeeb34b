// Layout margins and spacing of every window the program builds.
#include "CompactStyle.h"

CCompactStyle::CCompactStyle() : QProxyStyle() {}

int CCompactStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
    switch (metric) {
        case PM_LayoutLeftMargin:
        case PM_LayoutTopMargin:
        case PM_LayoutRightMargin:
        case PM_LayoutBottomMargin:
            return kMarginPx;
        case PM_LayoutHorizontalSpacing:
        case PM_LayoutVerticalSpacing:
            return kSpacingPx;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}
