// CTabCtrl: a QTabBar over a page area whose child widgets all fill the area.
#include "TabCtrl.h"

#include <QChildEvent>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QTabBar>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "Utf8.h"

namespace {

// Lays every direct child widget over its whole area: the owner shows one page at a time.
class PageArea final : public QWidget {
  public:
    explicit PageArea(QWidget* parent) : QWidget(parent) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    QSize sizeHint() const override { return largest(&QWidget::sizeHint, false); }
    // What the page shown needs: only a page that cannot fit makes the area scroll.
    QSize minimumSizeHint() const override { return largest(&QWidget::minimumSizeHint, true); }

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ChildAdded) {
            // The child may still be under construction: only watch it for now.
            static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
            updateGeometry();
        } else if (event->type() == QEvent::ChildRemoved) {
            updateGeometry();
        }
        return QWidget::event(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched->isWidgetType() && watched->parent() == this) {
            if (event->type() == QEvent::Show) {
                fit(static_cast<QWidget*>(watched));
                updateGeometry();
            } else if (event->type() == QEvent::Hide) {
                updateGeometry();
            }
        }
        return false;
    }

    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        for (QWidget* page : pages()) {
            fit(page);
        }
    }

  private:
    void fit(QWidget* page) const {
        if (!page->isWindow()) {
            page->setGeometry(rect());
        }
    }

    std::vector<QWidget*> pages() const {
        std::vector<QWidget*> result;
        for (QObject* child : children()) {
            if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow()) {
                result.push_back(static_cast<QWidget*>(child));
            }
        }
        return result;
    }

    // Hidden pages count too unless `shownOnly`, so the area does not change size from page
    // to page.
    QSize largest(QSize (QWidget::*hint)() const, bool shownOnly) const {
        QSize size(0, 0);
        for (const QWidget* page : pages()) {
            if (!shownOnly || !page->isHidden()) {
                size = size.expandedTo((page->*hint)());
            }
        }
        return size;
    }
};

}  // namespace

// The area sits in a scroll area that gives it at least its pages' minimum size: on a
// screen too small for a page, the page scrolls as a whole instead of being squeezed.
CTabCtrl::CTabCtrl(QWidget* parent)
    : QWidget(parent),
      m_bar(new QTabBar(this)),
      m_scroll(new QScrollArea(this)),
      m_area(new PageArea(this)) {
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_area);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_bar);
    column->addWidget(m_scroll, 1);
    m_bar->setExpanding(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(m_bar, &QTabBar::currentChanged, this, [this] {
        if (!m_silent && m_onUserSelChange) {
            m_onUserSelChange();
        }
    });
}

CTabCtrl::~CTabCtrl() {
    // The bar dies after this object's members; it must not call back into them.
    QObject::disconnect(m_bar, nullptr, this, nullptr);
}

void CTabCtrl::insertItem(int index, std::string_view text) {
    QScopedValueRollback<bool> silent(m_silent, true);  // the first tab becomes current
    m_bar->insertTab(index, qstr(text));
}

int CTabCtrl::itemCount() const {
    return m_bar->count();
}

std::string CTabCtrl::itemText(int index) const {
    return index >= 0 && index < m_bar->count() ? utf8(m_bar->tabText(index)) : std::string();
}

int CTabCtrl::curSel() const {
    return m_bar->currentIndex();
}

void CTabCtrl::setCurSel(int index) {
    if (index < 0 || index >= m_bar->count()) {
        return;
    }
    QScopedValueRollback<bool> silent(m_silent, true);
    m_bar->setCurrentIndex(index);
}

void CTabCtrl::selectAsUser(int index) {
    // A click on the current tab changes nothing and notifies nothing.
    if (isEnabled() && index >= 0 && index < m_bar->count()) {
        m_bar->setCurrentIndex(index);
    }
}

void CTabCtrl::setUserSelChangeHandler(std::function<void()> handler) {
    m_onUserSelChange = std::move(handler);
}
