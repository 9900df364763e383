#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "automation/Desktop.h"
#include "ui/HostBars.h"

class QLabel;
class QScrollArea;
class QToolBar;

namespace tessaline::automation::sim {
class SimOffice;
}

namespace tessaline::shell {
class Form1;
}

namespace tessaline::ui {

class HostBarsView;
class SheetView;

// The window of one host of the in-memory Office, as a person at the machine sees it: titled like the
// application, with the host's visible menu bar, its visible toolbars docked where their Position puts
// them and its floating bars in the work area. A click runs the control in the host, as a person's click
// does, so hooked buttons report to Tessaline and others run their own action, which the status bar names.
//
// The window shows what the host holds; it never decides anything. refresh() brings it in line with the
// host: it reads nothing when the host's bars did not change, re-reads only the bars that changed, and
// changes only the bars and buttons whose looks changed, in place.
class HostWindow final : public QMainWindow {
public:
    HostWindow(automation::sim::SimOffice& office, std::string hostKey, QWidget* parent = nullptr);
    ~HostWindow() override;
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    const std::string& hostKey() const { return hostKey_; }
    // Title, bars and show state from the host. False when the host has no window (any more).
    bool refresh();

    // The title the host's window carries ("Microsoft Excel - Book1").
    static std::string titleOf(automation::sim::SimOffice& office, const std::string& hostKey);

    const HostBars& shownBars() const { return shown_; }
    // How often the bars were changed: stays put while nothing a person sees changes.
    int buildCount() const { return buildCount_; }
    // How often a bar was read from the host, for each bar: stays put while the host's bars do not change.
    int barReadCount() const { return barReads_; }
    QString statusText() const;
    // A docked toolbar by its bar's Name; the floating panel of a bar by its Name.
    QToolBar* toolBar(const std::string& barName) const;
    QWidget* floatingBar(const std::string& barName) const;
    // Excel's window shows its active sheet; nullptr in the other hosts' windows.
    SheetView* sheetView() const { return sheetView_; }

    // A person clicks a control in this host: it runs inside a guard, and the status bar says what it did.
    void runControl(const automation::ControlPtr& control);
    // A person picks a text from a combo box's list or enters one into an edit box.
    void enterText(const automation::ControlPtr& control, const std::string& text);

    // Called when something happened in the host that other windows may want to show.
    std::function<void()> onHostChanged;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void hostChanged();
    automation::CommandBarsPtr hostBars() const;
    HostBars readBars(automation::CommandBars& commandBars);
    void rebuild(HostBars bars);
    void placeToolBars();
    void applyShowState();
    void setStatus(const std::string& text);

    automation::sim::SimOffice& office_;
    std::string hostKey_;
    std::unique_ptr<HostBarsView> view_;
    HostBars shown_;
    bool everBuilt_ = false;
    int buildCount_ = 0;
    std::vector<QPointer<QToolBar>> toolBars_;  // in the order shown_ docks them
    std::vector<Qt::ToolBarArea> toolBarAreas_;
    std::vector<QPointer<QWidget>> floatingPanels_;  // in the order of shown_'s floating bars
    QScrollArea* workArea_ = nullptr;
    QWidget* floatingArea_ = nullptr;
    // The bars as last read: the collection, the host's count of changes then, and each bar's own count.
    std::weak_ptr<automation::CommandBars> readBars_;
    std::uint64_t readChanges_ = 0;
    std::unordered_map<const automation::CommandBar*, std::uint64_t> barChanges_;
    int barReads_ = 0;
    QLabel* status_ = nullptr;
    SheetView* sheetView_ = nullptr;

    // The host's window this one stands for and what of its state was last applied here, so a state the
    // host keeps is applied once and the person may still move the window around.
    automation::WindowHandle handle_ = 0;
    int appliedState_ = -1;
    automation::WindowHandle appliedForeground_ = 0;
    bool applying_ = false;
};

// Every host window of the in-memory Office: opens one for each host window that exists, closes the
// window of a host that stopped, and keeps them in line with the Office after each event.
class HostWindows final : public QObject {
public:
    static constexpr std::array<const char*, 6> kHostKeys = {"Excel", "Word", "PowerPoint", "Access", "Outlook", "VBE"};

    explicit HostWindows(automation::sim::SimOffice& office, QObject* parent = nullptr);
    ~HostWindows() override;
    HostWindows(const HostWindows&) = delete;
    HostWindows& operator=(const HostWindows&) = delete;

    // Refreshes after each event of the Tessaline window. The form must outlive this object.
    void follow(shell::Form1& form);
    // Brings every window in line with the Office now.
    void refresh();
    // The topmost window that stays above the host windows whatever they do.
    void keepAbove(QWidget* window) { keepAbove_ = window; }
    // Does so once the current event is done; several requests make one refresh.
    void requestRefresh();

    HostWindow* window(const std::string& hostKey) const;
    std::vector<HostWindow*> windows() const;

private:
    automation::sim::SimOffice& office_;
    shell::Form1* form_ = nullptr;
    QPointer<QWidget> keepAbove_;
    std::map<std::string, QPointer<HostWindow>> windows_;
    // Windows of stopped hosts, deleted once the event loop gets to them.
    std::vector<QPointer<HostWindow>> retired_;
    int opened_ = 0;
    bool refreshPending_ = false;
    bool refreshing_ = false;
};

}  // namespace tessaline::ui
