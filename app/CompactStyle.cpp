// Layout margins and spacing, and caption heights, of every window the program builds.
#include "CompactStyle.h"

#include <QFontMetrics>
#include <QWidget>

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

QSize CCompactStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& contents, const QWidget* widget) const {
    QSize size = contents;
    const bool caption = type == CT_PushButton || type == CT_CheckBox || type == CT_RadioButton;
    if (caption && widget != nullptr) {
        const QFontMetrics metrics(widget->font());
        // Taller than two of its lines is a caption of several lines: left as it is.
        if (size.height() > metrics.height() && size.height() < 2 * metrics.height()) {
            size.setHeight(metrics.height());
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}
