// The report laid out top to bottom on A4 pages: a new page where the next block does not
// fit, a table's headings repeated on each page it runs onto, a page number at the foot.
#include "ReportPdf.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "CsvFile.h"
#include "ReportCsv.h"
#include "TrendPainter.h"

namespace {

constexpr int kPointsPerInch = 72;  // one painter unit is one point
constexpr double kMarginPt = 36;
constexpr double kBodyPt = 8.5;
constexpr double kCellPadPt = 3;
constexpr double kGapPt = 10;
constexpr double kFooterPt = 14;
constexpr double kChartHeightPt = 250;

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

class PdfFlow {
  public:
    PdfFlow(QPdfWriter& writer, QPainter& painter, QFont font)
        : m_writer(writer), m_painter(painter), m_font(std::move(font)) {
        m_width = writer.width();
        m_bottom = writer.height() - kFooterPt;
        drawFooter();
    }

    double width() const { return m_width; }
    QFont font(double points, bool bold = false) const {
        QFont f = m_font;
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }

    // Room for `height` more points on this page, or a new page.
    void need(double height) {
        if (m_y + height > m_bottom && m_y > 0) {
            m_writer.newPage();
            m_y = 0;
            drawFooter();
        }
    }

    // `text` wrapped over the width, framed when asked (what is missing stands out).
    void paragraph(const std::string& text, const QFont& f, Qt::Alignment align = Qt::AlignLeft,
                   bool framed = false) {
        const QRectF box(0, 0, m_width - 2 * kCellPadPt, 1e6);
        const QRectF used = QFontMetricsF(f).boundingRect(box, Qt::TextWordWrap | align, q(text));
        const double h = used.height() + (framed ? 2 * kCellPadPt : 0);
        need(h);
        m_painter.setFont(f);
        m_painter.setPen(Qt::black);
        const QRectF at(0, m_y, m_width, h);
        if (framed) {
            m_painter.setPen(QPen(Qt::black, 1.2));
            m_painter.drawRect(at);
        }
        m_painter.drawText(at.adjusted(kCellPadPt, framed ? kCellPadPt : 0, -kCellPadPt, 0),
                           Qt::TextWordWrap | align, q(text));
        m_y += h;
    }

    void gap(double points = kGapPt) { m_y += points; }

    void table(const report::ReportTable& t);
    void header(const std::vector<std::pair<std::string, std::string>>& fields);
    void chart(const report::TrendChart& c);
    void signatures(const std::vector<std::string>& lines);

  private:
    void drawFooter() {
        ++m_page;
        m_painter.setFont(font(7));
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(0, m_bottom + 2, m_width, kFooterPt - 2),
                           Qt::AlignRight | Qt::AlignBottom,
                           QStringLiteral("KORVAL 蓄电池组维护报告 · 第 %1 页").arg(m_page));
    }
    std::vector<double> columnWidths(const report::ReportTable& t, const QFont& f) const;
    double rowHeight(const std::vector<std::string>& row, const std::vector<double>& widths,
                     const QFont& f) const;
    void drawRow(const std::vector<std::string>& row, const std::vector<double>& widths,
                 const QFont& f, double height, bool shaded);

    QPdfWriter& m_writer;
    QPainter& m_painter;
    QFont m_font;
    double m_width = 0;
    double m_bottom = 0;
    double m_y = 0;
    int m_page = 0;
};

// Natural widths, shrunk where the row is wider than the page: narrow columns keep theirs,
// the wide ones share what is left (their text wraps).
std::vector<double> PdfFlow::columnWidths(const report::ReportTable& t, const QFont& f) const {
    const QFontMetricsF metrics(f);
    std::vector<double> natural(t.columns.size(), 0);
    const auto measure = [&](const std::vector<std::string>& row) {
        for (size_t i = 0; i < row.size() && i < natural.size(); ++i) {
            natural[i] =
                std::max(natural[i], metrics.horizontalAdvance(q(row[i])) + 2 * kCellPadPt);
        }
    };
    measure(t.columns);
    for (const auto& row : t.rows) {
        measure(row);
    }
    double total = 0;
    for (const double w : natural) {
        total += w;
    }
    if (total <= m_width) {
        for (double& w : natural) {
            w *= m_width / total;
        }
        return natural;
    }
    const double fair = m_width / static_cast<double>(natural.size());
    double kept = 0;
    double wide = 0;
    for (const double w : natural) {
        (w <= fair ? kept : wide) += w;
    }
    for (double& w : natural) {
        if (w > fair) {
            w *= (m_width - kept) / wide;
        }
    }
    return natural;
}

double PdfFlow::rowHeight(const std::vector<std::string>& row, const std::vector<double>& widths,
                          const QFont& f) const {
    const QFontMetricsF metrics(f);
    double h = metrics.height();
    for (size_t i = 0; i < row.size() && i < widths.size(); ++i) {
        const QRectF box(0, 0, widths[i] - 2 * kCellPadPt, 1e6);
        h = std::max(h, metrics.boundingRect(box, Qt::TextWordWrap, q(row[i])).height());
    }
    return h + 2 * kCellPadPt;
}

void PdfFlow::drawRow(const std::vector<std::string>& row, const std::vector<double>& widths,
                      const QFont& f, double height, bool shaded) {
    double x = 0;
    m_painter.setFont(f);
    for (size_t i = 0; i < widths.size(); ++i) {
        const QRectF cell(x, m_y, widths[i], height);
        if (shaded) {
            m_painter.fillRect(cell, QColor(225, 225, 225));
        }
        m_painter.setPen(QPen(Qt::black, 0.4));
        m_painter.drawRect(cell);
        if (i < row.size()) {
            m_painter.drawText(cell.adjusted(kCellPadPt, kCellPadPt, -kCellPadPt, -kCellPadPt),
                               Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, q(row[i]));
        }
        x += widths[i];
    }
    m_y += height;
}

void PdfFlow::table(const report::ReportTable& t) {
    const QFont body = font(kBodyPt);
    const QFont bold = font(kBodyPt, true);
    const std::vector<double> widths = columnWidths(t, body);
    const double headingHeight = rowHeight(t.columns, widths, bold);
    need(QFontMetricsF(font(11, true)).height() + 2 * headingHeight);
    paragraph(t.title, font(11, true));
    gap(2);
    drawRow(t.columns, widths, bold, headingHeight, true);
    for (const auto& row : t.rows) {
        // A row over a limit is bold as well as saying so.
        const bool over = std::any_of(row.begin(), row.end(), [](const std::string& cell) {
            return cell.rfind("超限", 0) == 0;
        });
        const double h = rowHeight(row, widths, over ? bold : body);
        if (m_y + h > m_bottom) {
            need(h + headingHeight);
            drawRow(t.columns, widths, bold, headingHeight, true);
        }
        drawRow(row, widths, over ? bold : body, h, false);
    }
    for (const std::string& note : t.notes) {
        paragraph(note, font(kBodyPt - 0.5));
    }
    gap();
}

// Two fields a line: label, value, label, value.
void PdfFlow::header(const std::vector<std::pair<std::string, std::string>>& fields) {
    report::ReportTable t;
    t.columns = {"项目", "内容", "项目", "内容"};
    for (size_t i = 0; i < fields.size(); i += 2) {
        std::vector<std::string> row{fields[i].first, fields[i].second};
        if (i + 1 < fields.size()) {
            row.push_back(fields[i + 1].first);
            row.push_back(fields[i + 1].second);
        }
        t.rows.push_back(row);
    }
    const QFont body = font(kBodyPt + 0.5);
    const double w = m_width;
    const std::vector<double> widths{w * 0.12, w * 0.38, w * 0.12, w * 0.38};
    for (const auto& row : t.rows) {
        const double h = rowHeight(row, widths, body);
        need(h);
        drawRow(row, widths, body, h, false);
    }
    gap();
}

void PdfFlow::chart(const report::TrendChart& c) {
    need(QFontMetricsF(font(11, true)).height() + kChartHeightPt);
    paragraph("内阻趋势", font(11, true));
    gap(2);
    paintTrendChart(m_painter, QRectF(0, m_y, m_width, kChartHeightPt), c, font(kBodyPt - 1));
    m_y += kChartHeightPt;
    gap(4);
}

void PdfFlow::signatures(const std::vector<std::string>& lines) {
    constexpr double kLineHeight = 34;
    need(kLineHeight * static_cast<double>(lines.size()) + kGapPt);
    gap();
    m_painter.setFont(font(10));
    for (const std::string& line : lines) {
        m_y += kLineHeight;
        m_painter.setPen(Qt::black);
        m_painter.drawText(QPointF(0, m_y - 3), q(line + "："));
        m_painter.setPen(QPen(Qt::black, 0.6));
        m_painter.drawLine(QPointF(80, m_y), QPointF(m_width * 0.6, m_y));
    }
}

void drawReport(PdfFlow& flow, const report::ReportContent& c) {
    flow.paragraph(c.title, flow.font(16, true), Qt::AlignHCenter);
    flow.gap();
    flow.header(c.header);
    for (const std::string& line : c.missing) {
        flow.paragraph(line, flow.font(kBodyPt + 0.5, true), Qt::AlignLeft, true);
    }
    flow.gap(4);
    flow.paragraph(c.verdict, flow.font(11, true));
    flow.gap();
    flow.table(c.summary);
    flow.table(c.limits);
    flow.table(c.worst);
    flow.table(c.cells);
    flow.chart(c.chart);
    for (const std::string& note : c.trend.notes) {
        flow.paragraph(note, flow.font(kBodyPt - 0.5));
    }
    flow.signatures(c.signatures);
}

}  // namespace

bool writeReportPdf(const report::ReportContent& content, const std::string& path,
                    const std::string& cjkFace, std::string& error) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPointsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginPt, kMarginPt, kMarginPt, kMarginPt),
                                         QPageLayout::Point));
        writer.setTitle(QString::fromStdString(content.title));
        writer.setCreator(QStringLiteral("KORVAL"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = "无法生成PDF";
            return false;
        }
        QFont font;
        QStringList families{QStringLiteral("DejaVu Sans")};
        if (!cjkFace.empty()) {
            families << QString::fromStdString(cjkFace);
        }
        font.setFamilies(families);
        PdfFlow flow(writer, painter, font);
        drawReport(flow, content);
        painter.end();
    }
    int errorNumber = 0;
    if (!writeFileAside(path,
                        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                        errorNumber)) {
        error = report::fileErrorText(path, errorNumber);
        return false;
    }
    return true;
}
