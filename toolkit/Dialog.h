// Dialog base: builds its controls from a template, finds them by id, dispatches their
// notifications through the dialog class's message map, and runs timers by id.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "DialogTemplate.h"

class CReportList;
class CCheckTree;
class CTabCtrl;
class QTimer;

// SelChange: a drop list or tab chosen by the user, or the current row of a list view moved.
// CheckChange: a tree item's check mark (or other data) changed, by mouse, key or program.
enum class Notify { Clicked, SelChange, TextChange, CheckChange };

// One row of a dialog class's message map.
template <class D>
struct MessageEntry {
    int id;
    Notify code;
    void (D::*handler)();
};

class CDialog : public QDialog {
  public:
    explicit CDialog(const DialogTemplate& tpl, QWidget* parent = nullptr);
    ~CDialog() override;

    // Modeless child: builds the controls, runs onInitDialog, stays hidden until shown. It
    // stays where its owner puts it; Enter and Escape in it do nothing.
    void create(QWidget* parent);
    // Modal: builds, runs onInitDialog, runs until ended; IDOK or IDCANCEL.
    int doModal();
    void endDialog(int result);

    int templateId() const { return m_template.id; }

    // The main window calls this on the page it is leaving, at every tab switch: a page
    // that runs work across ticks stops it here and gives back what it holds.
    virtual void onLeave() {}

    // What is wrong with this dialog's message map against its template: a row whose id
    // the template lacks, or whose control cannot raise the row's notification. Empty when
    // all is well; also logged once when the controls are built.
    std::vector<std::string> messageMapFaults() const;
    static bool canNotify(ControlKind kind, Notify code);

    // Controls found by template id (null when the template has no such control; the first
    // such request of each id is logged, as it is a mistake in the program).
    QWidget* control(int id) const;
    CReportList* reportList(int id) const;
    CCheckTree* checkTree(int id) const;
    CTabCtrl* tabCtrl(int id) const;

    std::string windowText(int id) const;  // caption, edit text, selected list text
    void setWindowText(int id, std::string_view text);
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);
    void enableControl(int id, bool enable);
    bool isControlEnabled(int id) const;
    void showControl(int id, bool show);
    bool isControlShown(int id) const;  // not hidden itself (its dialog may be hidden)

    // Drop-down lists; curSel, setCurSel, itemCount and itemText also serve tab controls.
    int curSel(int id) const;  // -1: none
    void setCurSel(int id, int index);
    int itemCount(int id) const;
    std::string itemText(int id, int index) const;
    std::vector<std::string> items(int id) const;
    void resetContent(int id);
    void addString(int id, std::string_view text);

    // What an operator's action does: the control changes and its notification runs.
    void clickControl(int id);
    void selectAsUser(int id, int index);  // a drop list item, a tab or a list row
    void typeAsUser(int id, std::string_view text);

    // Timers by id, delivered to onTimer on the UI thread. Setting a running id restarts it.
    void setTimer(int timerId, int periodMs);
    void killTimerById(int timerId);
    bool hasTimer(int timerId) const;

    // The box this dialog owns (no icon).
    void messageBox(std::string_view text, std::string_view details = {});

    // Puts `widget` in the place of control `id` (same cell, id, hidden and disabled state)
    // and deletes the old control, as subclassing a static for a custom control does. The
    // dialog owns `widget` on success; on false (unknown id) the caller keeps it.
    bool subclassControl(int id, QWidget* widget);

    // Runs `handler` as a command: not while another handler runs, except in the modal
    // dialog that handler opened. Returns false when it was refused. An exception from the
    // handler releases the guard and propagates.
    bool runHandler(const std::function<void()>& handler);
    static bool handlerRunning();

    // Tests and the scenario runner answer modal dialogs here: a hook that returns a
    // result ends doModal at once with it, without showing the dialog.
    using ModalHook = std::function<std::optional<int>(CDialog&)>;
    static void setModalHook(ModalHook hook);

  protected:
    virtual bool onInitDialog() { return true; }
    virtual void onTimer(int /*timerId*/) {}
    virtual void onOK() { endDialog(IDOK); }
    virtual void onCancel() { endDialog(IDCANCEL); }
    void keyPressEvent(QKeyEvent* event) override;

    template <class D>
    void useMessageMap(std::span<const MessageEntry<D>> map) {
        for (const auto& entry : map) {
            auto handler = entry.handler;
            addMessage(entry.id, entry.code,
                       [this, handler] { (static_cast<D*>(this)->*handler)(); });
        }
    }

  private:
    void buildControls();
    void placeControls(const std::vector<QWidget*>& widgets);
    void wireControl(int id, QWidget* widget);
    void addMessage(int id, Notify code, std::function<void()> handler);
    void dispatch(int id, Notify code);
    void deliverTimer(int timerId);
    // Runs a handler from a Qt signal: an exception must not unwind through Qt.
    void runFromEvent(const std::function<void()>& handler);
    void reject() override;
    void accept() override;

    const DialogTemplate& m_template;
    bool m_built = false;
    bool m_modeless = false;  // made by create(): a page inside its owner
    std::map<int, QWidget*> m_controls;
    std::multimap<std::pair<int, Notify>, std::function<void()>> m_messages;
    std::map<int, QTimer*> m_timers;
    mutable std::set<int> m_unknownIds;  // ids asked for and not found, logged once each
};
