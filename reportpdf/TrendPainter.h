// The resistance trend chart drawn into a rectangle of a page: every cell a thin grey line,
// the most changed cells black, each with its own dash pattern and marker, and a legend.
#pragma once

#include <QFont>
#include <QRectF>

#include "ReportModel.h"

class QPainter;

void paintTrendChart(QPainter& painter, const QRectF& area, const report::TrendChart& chart,
                     const QFont& font);
