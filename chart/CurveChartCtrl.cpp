// The curve chart control: painting, the readout under the mouse, zoom by dragging, and the
// context menu that saves the picture.
#include "CurveChartCtrl.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QSaveFile>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "MessageBox.h"
#include "OwnMenu.h"

namespace {

constexpr const char* kMenuSavePicture = "保存图片...";
constexpr const char* kSavePictureCaption = "保存图片";
constexpr const char* kPngFilter = "PNG 图片 (*.png)";
constexpr const char* kMsgSavePictureFailed = "图片保存失败";
constexpr const char* kDetailFile = "文件：";
constexpr const char* kDetailReason = "原因：";
constexpr const char* kReasonNoName = "没有给出文件名";
constexpr const char* kReasonNoFolder = "文件夹不存在：";
constexpr const char* kReasonNoPermission = "没有在此处写文件的权限";
constexpr const char* kReasonCannotCreate = "无法建立文件";
constexpr const char* kReasonNoMemory = "内存不足，无法生成图片";
constexpr const char* kReasonWriteFailed = "写入文件失败，磁盘可能已满";

// A4 landscape at 600 dpi; a 12-point font is then 100 px high.
constexpr int kPrintWidth = 7016;
constexpr int kPrintHeight = 4961;
constexpr int kPrintDotsPerMeter = 23622;  // 600 dpi

constexpr int kDragMinWidth = 3;
constexpr int kSpacePx = 2;
constexpr int kMarkRadius = 4;

std::string reasonForOpenFailure(const QSaveFile& file) {
    return file.error() == QFileDevice::PermissionsError ? kReasonNoPermission
                                                         : kReasonCannotCreate;
}

}  // namespace

bool saveChartPicture(const CCurveChart& chart, const std::string& path, std::string& error) {
    if (path.empty()) {
        error = kReasonNoName;
        return false;
    }
    const QString name = QString::fromStdString(path);
    const QDir folder = QFileInfo(name).absoluteDir();
    if (!folder.exists()) {
        error = kReasonNoFolder + folder.absolutePath().toStdString();
        return false;
    }
    if (!QFileInfo(folder.absolutePath()).isWritable()) {
        error = kReasonNoPermission;
        return false;
    }
    QImage image(kPrintWidth, kPrintHeight, QImage::Format_Grayscale8);
    if (image.isNull()) {
        error = kReasonNoMemory;
        return false;
    }
    image.setDotsPerMeterX(kPrintDotsPerMeter);
    image.setDotsPerMeterY(kPrintDotsPerMeter);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CCurveChart::paint(painter, chart.geometry(image.rect(), true, &image));
    }
    // Written aside and renamed into place, so a failure leaves any earlier file intact.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        error = reasonForOpenFailure(file);
        return false;
    }
    if (!image.save(&file, "PNG") || !file.commit()) {
        file.cancelWriting();
        error = kReasonWriteFailed;
        return false;
    }
    return true;
}

CCurveChartCtrl::CCurveChartCtrl(QWidget* parent)
    : QWidget(parent), m_band(new QRubberBand(QRubberBand::Rectangle, this)) {
    // The chart makes room for its labels inside its rectangle, in whatever face it gets.
    setMinimumSize(kChartArea.width() + kSpacePx, kChartArea.height());
    setMouseTracking(true);
    markOwnContextMenu(this);
}

CCurveChartCtrl::~CCurveChartCtrl() = default;

void CCurveChartCtrl::followSize(QSize minimum) {
    m_followsSize = true;
    setMinimumSize(minimum);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    update();
}

// The time labels sit 25 px under the plot, which is 5 % of the height in from the bottom:
// a control lower than the fixed rectangle gives them room by a shorter area.
QRect CCurveChartCtrl::chartArea() const {
    if (!m_followsSize) {
        return kChartArea;
    }
    constexpr int kTimeLabelRoom = 30;
    const int fit = static_cast<int>((height() - kTimeLabelRoom) / 0.95);
    return {0, 0, width(), std::clamp(fit, 0, height())};
}

void CCurveChartCtrl::setReadoutHandler(ReadoutHandler handler) {
    m_readout = std::move(handler);
}

void CCurveChartCtrl::addContextAction(std::string text, std::function<void()> action) {
    m_actions.push_back({std::move(text), std::move(action)});
}

ChartRect CCurveChartCtrl::plot() const {
    return m_chart.frame(chartArea()).plot;
}

void CCurveChartCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    m_chart.Draw(painter, chartArea(), false);
    if (m_marked) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(m_marked->at, kMarkRadius, kMarkRadius);
    }
}

void CCurveChartCtrl::showReadout(std::optional<CCurveChart::CurvePoint> point) {
    const bool moved = point.has_value() != m_marked.has_value() ||
                       (point && (point->at != m_marked->at || point->series != m_marked->series));
    m_marked = point;
    if (moved) {
        update();
    }
    if (m_readout) {
        m_readout(m_marked);
    }
}

void CCurveChartCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = toChart(event->position().toPoint());
    if (m_dragStartX) {
        const ChartRect p = plot();
        const int x = std::clamp(at.x(), p.left, p.right);
        m_band->setGeometry(QRect(QPoint(std::min(x, *m_dragStartX), p.top),
                                  QPoint(std::max(x, *m_dragStartX), p.bottom)));
        m_band->show();
    }
    showReadout(m_chart.nearestPoint(chartArea(), at));
}

void CCurveChartCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint at = toChart(event->position().toPoint());
    const ChartRect p = plot();
    if (event->button() == Qt::LeftButton && at.x() >= p.left && at.x() <= p.right &&
        at.y() >= p.top && at.y() <= p.bottom) {
        m_dragStartX = at.x();
    }
    QWidget::mousePressEvent(event);
}

// The dragged stretch becomes the view, at least a second of it.
void CCurveChartCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragStartX) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_band->hide();
    const ChartRect p = plot();
    const int x0 = *m_dragStartX;
    const int x1 = std::clamp(toChart(event->position().toPoint()).x(), p.left, p.right);
    m_dragStartX.reset();
    if (std::abs(x1 - x0) < kDragMinWidth) {
        return;
    }
    const TimeWindow window = usableWindow(m_chart.viewWindow());
    const int32_t start = std::min(xToTime(p, window, std::min(x0, x1)), INT32_MAX - 1);
    const int32_t end = std::max(xToTime(p, window, std::max(x0, x1)), start + 1);
    m_chart.setViewWindow(start, end);
    m_marked.reset();
    update();
}

void CCurveChartCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragStartX.reset();
        m_band->hide();
        m_chart.resetView();
        m_marked.reset();
        update();
    }
}

void CCurveChartCtrl::leaveEvent(QEvent*) {
    showReadout(std::nullopt);
}

void CCurveChartCtrl::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QString::fromUtf8(kMenuSavePicture), this, [this] { savePicture(); });
    for (const ContextAction& entry : m_actions) {
        menu.addAction(QString::fromStdString(entry.text), this, entry.action);
    }
    menu.exec(event->globalPos());
}

void CCurveChartCtrl::savePicture() {
    QString name = QFileDialog::getSaveFileName(this, QString::fromUtf8(kSavePictureCaption),
                                                QString(), QString::fromUtf8(kPngFilter));
    if (name.isEmpty()) {
        return;
    }
    if (!name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        name += QStringLiteral(".png");
    }
    std::string error;
    if (!saveChartPicture(m_chart, name.toStdString(), error)) {
        appMessageBox(kMsgSavePictureFailed, std::string(kDetailFile) + name.toStdString() + "\n" +
                                                 kDetailReason + error + "。");
    }
}
