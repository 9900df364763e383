#include "ui/HostWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <exception>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/FaultPlan.h"
#include "automation/sim/SimCommandBars.h"
#include "automation/sim/SimOffice.h"
#include "shell/Form1.h"
#include "ui/HostBarsView.h"
#include "ui/MainWindow.h"
#include "ui/ResetBarsCommand.h"
#include "ui/SheetView.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

namespace mso = automation::mso;
namespace sw = automation::sw;

// ShowWindow commands beyond the four the tool sends.
constexpr int kShowMinNoActive = 7;
constexpr int kShowMinimizedCommand = 6;
constexpr int kForceMinimize = 11;
constexpr int kShow = 5;
constexpr int kShowNoActivate = 8;

Qt::ToolBarArea areaOf(int position) {
    switch (position) {
        case mso::BarLeft:
            return Qt::LeftToolBarArea;
        case mso::BarRight:
            return Qt::RightToolBarArea;
        case mso::BarBottom:
            return Qt::BottomToolBarArea;
        default:
            return Qt::TopToolBarArea;
    }
}

std::string failureText(const std::exception& e) {
    if (const auto* automation = dynamic_cast<const automation::AutomationError*>(&e)) return automation->description();
    return e.what();
}

}  // namespace

// ----- HostWindow -----

HostWindow::HostWindow(automation::sim::SimOffice& office, std::string hostKey, QWidget* parent)
    : QMainWindow(parent), office_(office), hostKey_(std::move(hostKey)) {
    setObjectName(toQ("HostWindow" + hostKey_));
    setFont(MainWindow::uiFont());
    // The host's bars are the host's: no menu of Qt's own for hiding them.
    setContextMenuPolicy(Qt::PreventContextMenu);
    // Bars move where the host puts them, at once: an animated move lays a long toolbar out again at every
    // step, and a handler that lets events run between its calls made hundreds of steps.
    setAnimated(false);
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    view_ = std::make_unique<HostBarsView>(HostBarsView::Actions{
        [this](const automation::ControlPtr& control) { runControl(control); },
        [this](const automation::ControlPtr& control, const std::string& text) { enterText(control, text); }});

    workArea_ = new QScrollArea(this);
    workArea_->setObjectName(QStringLiteral("workArea"));
    workArea_->setWidgetResizable(true);
    workArea_->setBackgroundRole(QPalette::Dark);
    floatingArea_ = new QWidget;
    auto* floatingLayout = new QVBoxLayout(floatingArea_);
    floatingLayout->setContentsMargins(12, 12, 12, 12);
    floatingLayout->setSpacing(12);
    floatingLayout->addStretch(1);
    workArea_->setWidget(floatingArea_);
    setCentralWidget(workArea_);
    if (hostKey_ == "Excel") sheetView_ = SheetView::install(*this, office_, [this] { hostChanged(); });

    status_ = new QLabel(QStringLiteral("就绪"), this);
    status_->setObjectName(QStringLiteral("hostStatus"));
    statusBar()->addWidget(status_, 1);
    installResetBarsCommand(*this, office_, hostKey_, [this] { hostChanged(); });
    resize(960, 600);
}

HostWindow::~HostWindow() = default;

std::string HostWindow::titleOf(automation::sim::SimOffice& office, const std::string& hostKey) {
    std::string name;
    std::string document;
    try {
        const automation::ObjectPtr host = office.host(hostKey);
        if (const auto outlook = std::dynamic_pointer_cast<automation::OutlookApplication>(host)) {
            name = outlook->Name();
        } else if (const auto owner = std::dynamic_pointer_cast<automation::CommandBarHost>(host)) {
            name = owner->Name();
        }
        // The editor names the workbook in front, as Excel does.
        if (hostKey == "Excel" || hostKey == "VBE") {
            if (const auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(office.host("Excel"))) {
                if (const automation::WorkbookPtr book = excel->ActiveWorkbook()) document = book->Name();
            }
        }
    } catch (const std::exception&) {
    }
    if (name.empty()) name = hostKey;
    if (name.rfind("Microsoft", 0) != 0) name = "Microsoft " + name;
    return document.empty() ? name : name + " - " + document;
}

automation::CommandBarsPtr HostWindow::hostBars() const {
    try {
        const automation::ObjectPtr host = office_.host(hostKey_);
        if (const auto outlook = std::dynamic_pointer_cast<automation::OutlookApplication>(host)) {
            const auto explorer = outlook->ActiveExplorer();
            return explorer ? explorer->CommandBars() : nullptr;
        }
        if (const auto owner = std::dynamic_pointer_cast<automation::CommandBarHost>(host)) return owner->CommandBars();
    } catch (const std::exception&) {
    }
    return nullptr;
}

bool HostWindow::refresh() {
    const automation::WindowHandle handle = office_.hostWindow(hostKey_);
    if (handle == 0) return false;
    if (handle != handle_) {
        // A host started anew opens a new window: whatever was applied belongs to the old one.
        handle_ = handle;
        appliedState_ = -1;
        appliedForeground_ = 0;
    }
    // The window is the host's own: its looks are no calls of the tool, so no planned fault counts or fires.
    const automation::FaultPlan::Pause pause(office_.faultPlan());
    const QString title = toQ(titleOf(office_, hostKey_));
    if (windowTitle() != title) setWindowTitle(title);
    const automation::CommandBarsPtr commandBars = hostBars();
    const auto* sim = dynamic_cast<const automation::sim::SimCommandBars*>(commandBars.get());
    // Nothing of the host's bars changed since they were read: nothing to read, nothing to change.
    const bool unchanged =
        everBuilt_ && sim != nullptr && readBars_.lock() == commandBars && sim->changeCount() == readChanges_;
    if (!unchanged) {
        HostBars bars;
        if (commandBars) bars = readBars(*commandBars);
        readBars_ = commandBars;
        readChanges_ = sim != nullptr ? sim->changeCount() : 0;
        if (!everBuilt_ || !(bars == shown_)) rebuild(std::move(bars));
    }
    applyShowState();
    if (sheetView_ != nullptr) sheetView_->refresh();
    return true;
}

HostBars HostWindow::readBars(automation::CommandBars& commandBars) {
    std::unordered_map<const automation::CommandBar*, const ShownBar*> known;
    if (shown_.menuBar) known.emplace(shown_.menuBar->bar.get(), &*shown_.menuBar);
    for (const ShownBar& bar : shown_.toolbars) known.emplace(bar.bar.get(), &bar);
    std::unordered_map<const automation::CommandBar*, std::uint64_t> changes;
    HostBars bars = readHostBars(commandBars, [&](const automation::CommandBarPtr& bar) -> std::optional<ShownBar> {
        const auto* sim = dynamic_cast<const automation::sim::SimCommandBar*>(bar.get());
        if (sim == nullptr) {
            ++barReads_;
            return std::nullopt;
        }
        changes[bar.get()] = sim->changeCount();
        const auto shown = known.find(bar.get());
        const auto seen = barChanges_.find(bar.get());
        if (shown != known.end() && seen != barChanges_.end() && seen->second == sim->changeCount()) {
            return *shown->second;
        }
        ++barReads_;
        return std::nullopt;
    });
    barChanges_ = std::move(changes);
    return bars;
}

void HostWindow::rebuild(HostBars bars) {
    ++buildCount_;
    everBuilt_ = true;

    // Old widgets go later, not now: a click on one of them may be what asked for this rebuild.
    if (!(bars.menuBar == shown_.menuBar)) {
        if (auto* old = qobject_cast<QMenuBar*>(menuWidget())) old->setCornerWidget(nullptr, Qt::TopRightCorner);
        if (bars.menuBar) {
            auto* menuBar = new QMenuBar;
            view_->fillMenuBar(*menuBar, *bars.menuBar);
            setMenuBar(menuBar);
        } else {
            setMenuBar(nullptr);
        }
    }

    // The bars shown before, by the bar they show, each with its widget.
    std::unordered_map<const automation::CommandBar*, std::pair<const ShownBar*, QPointer<QToolBar>>> docked;
    std::unordered_map<const automation::CommandBar*, std::pair<const ShownBar*, QPointer<QWidget>>> floating;
    {
        std::size_t dockedAt = 0;
        std::size_t floatingAt = 0;
        for (const ShownBar& bar : shown_.toolbars) {
            if (bar.position == mso::BarFloating) {
                if (floatingAt < floatingPanels_.size())
                    floating.emplace(bar.bar.get(), std::pair{&bar, floatingPanels_[floatingAt++]});
            } else if (dockedAt < toolBars_.size()) {
                docked.emplace(bar.bar.get(), std::pair{&bar, toolBars_[dockedAt++]});
            }
        }
    }

    std::vector<QPointer<QToolBar>> toolBars;
    std::vector<Qt::ToolBarArea> areas;
    std::vector<QPointer<QWidget>> panels;
    for (const ShownBar& bar : bars.toolbars) {
        if (bar.position == mso::BarFloating) {
            QPointer<QWidget> panel;
            if (auto found = floating.find(bar.bar.get()); found != floating.end() && found->second.second != nullptr) {
                panel = found->second.second;
                const ShownBar& before = *found->second.first;
                floating.erase(found);
                if (!(before == bar) && !view_->updateFloatingBar(*panel, before, bar)) {
                    panel->deleteLater();
                    panel = nullptr;
                }
            }
            if (panel == nullptr) panel = view_->makeFloatingBar(bar, floatingArea_);
            panels.push_back(panel);
            continue;
        }
        QPointer<QToolBar> toolBar;
        if (auto found = docked.find(bar.bar.get()); found != docked.end() && found->second.second != nullptr) {
            toolBar = found->second.second;
            const ShownBar& before = *found->second.first;
            docked.erase(found);
            if (!(before == bar)) view_->updateToolBar(*toolBar, before, bar);
        } else {
            toolBar = view_->makeToolBar(bar, this);
        }
        toolBars.push_back(toolBar);
        areas.push_back(areaOf(bar.position));
    }
    // Bars no longer shown.
    for (auto& [key, old] : docked) {
        if (old.second == nullptr) continue;
        if (toolBarBreak(old.second)) removeToolBarBreak(old.second);
        removeToolBar(old.second);
        old.second->deleteLater();
    }
    for (auto& [key, old] : floating) {
        if (old.second != nullptr) old.second->deleteLater();
    }

    // Docked in order, one row per bar, when the bars or their places changed.
    if (toolBars != toolBars_ || areas != toolBarAreas_) {
        for (const QPointer<QToolBar>& toolBar : toolBars_) {
            if (toolBar == nullptr) continue;
            if (toolBarBreak(toolBar)) removeToolBarBreak(toolBar);
            removeToolBar(toolBar);
        }
        toolBars_ = std::move(toolBars);
        toolBarAreas_ = std::move(areas);
        placeToolBars();
    }
    if (panels != floatingPanels_) {
        auto* layout = static_cast<QVBoxLayout*>(floatingArea_->layout());
        for (const QPointer<QWidget>& panel : floatingPanels_) {
            if (panel != nullptr) layout->removeWidget(panel);
        }
        int at = 0;
        for (const QPointer<QWidget>& panel : panels) {
            layout->insertWidget(at++, panel, 0, Qt::AlignLeft | Qt::AlignTop);
            panel->show();
        }
        floatingPanels_ = std::move(panels);
    }

    shown_ = std::move(bars);
}

void HostWindow::placeToolBars() {
    std::map<Qt::ToolBarArea, int> barsInArea;
    for (std::size_t i = 0; i < toolBars_.size(); ++i) {
        const Qt::ToolBarArea area = toolBarAreas_[i];
        // One row per bar, so every button shows instead of hiding behind an overflow arrow.
        if (barsInArea[area]++ > 0) addToolBarBreak(area);
        addToolBar(area, toolBars_[i]);
        toolBars_[i]->show();
    }
}

void HostWindow::applyShowState() {
    const QScopedValueRollback<bool> guard(applying_, true);
    const bool visible = office_.windowVisible(handle_);
    const int state = visible ? office_.windowShowState(handle_) : sw::Hide;
    if (state != appliedState_) {
        appliedState_ = state;
        switch (state) {
            case sw::Hide:
                hide();
                break;
            case sw::Minimized:
            case kShowMinimizedCommand:
            case kShowMinNoActive:
            case kForceMinimize:
                showMinimized();
                break;
            case sw::Maximized:
                showMaximized();
                break;
            case kShow:
            case kShowNoActivate:
                show();
                break;
            default:
                showNormal();
                break;
        }
    }
    const automation::WindowHandle front = office_.foregroundWindow();
    if (front != appliedForeground_) {
        appliedForeground_ = front;
        if (front == handle_ && isVisible()) {
            raise();
            activateWindow();
        }
    }
}

void HostWindow::runControl(const automation::ControlPtr& control) {
    if (control == nullptr) return;
    std::string status;
    try {
        bool hasOwnAction = false;
        try {
            hasOwnAction = !control->OnAction().empty() || control->BuiltIn();
        } catch (const std::exception&) {
        }
        const std::size_t before = office_.actionLog().size();
        control->Execute();
        const std::vector<std::string>& log = office_.actionLog();
        if (log.size() > before) {
            status = describeAction(log.back());
            if (sheetView_ != nullptr) sheetView_->defaultActionRan(log.back());
        } else {
            status = hasOwnAction ? "单击已被事件挂钩取消" : "此控件没有指定动作";
        }
    } catch (const std::exception& e) {
        status = "无法执行: " + failureText(e);
    } catch (...) {
        status = "无法执行";
    }
    setStatus(status);
    hostChanged();
}

void HostWindow::enterText(const automation::ControlPtr& control, const std::string& text) {
    if (control == nullptr) return;
    try {
        control->AsComboBox()->SetText(text);
    } catch (const std::exception& e) {
        setStatus("无法执行: " + failureText(e));
        hostChanged();
        return;
    }
    runControl(control);
}

void HostWindow::hostChanged() {
    if (onHostChanged) onHostChanged();
}

void HostWindow::setStatus(const std::string& text) { status_->setText(toQ(text)); }

QString HostWindow::statusText() const { return status_->text(); }

QToolBar* HostWindow::toolBar(const std::string& barName) const {
    for (const QPointer<QToolBar>& toolBar : toolBars_) {
        if (toolBar != nullptr && toolBar->objectName() == toQ(barName)) return toolBar;
    }
    return nullptr;
}

QWidget* HostWindow::floatingBar(const std::string& barName) const {
    for (const QPointer<QWidget>& panel : floatingPanels_) {
        if (panel != nullptr && panel->objectName() == toQ(barName)) return panel;
    }
    return nullptr;
}

void HostWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (applying_ || handle_ == 0) return;
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // A person brought this window to the front: so it is in the Office too (Alt+F11 goes there).
        office_.SetForegroundWindow(handle_);
        appliedForeground_ = handle_;
        hostChanged();
    } else if (event->type() == QEvent::WindowStateChange) {
        const int state = isMinimized() ? sw::Minimized : isMaximized() ? sw::Maximized : sw::Normal;
        if (state != appliedState_) {
            office_.ShowWindow(handle_, state);
            appliedState_ = state;
        }
    }
}

void HostWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!applying_) hostChanged();
}

void HostWindow::closeEvent(QCloseEvent* event) {
    // Closing hides the host's window; the host keeps running, and ShowWindow brings the window back.
    if (handle_ != 0) office_.ShowWindow(handle_, sw::Hide);
    appliedState_ = sw::Hide;
    event->accept();
}

// ----- HostWindows -----

HostWindows::HostWindows(automation::sim::SimOffice& office, QObject* parent) : QObject(parent), office_(office) {}

HostWindows::~HostWindows() {
    if (form_ != nullptr) form_->afterEvent = nullptr;
    for (const QPointer<HostWindow>& window : retired_) {
        if (window != nullptr) window->onHostChanged = nullptr;
    }
    for (auto& [key, window] : windows_) delete window.data();
}

void HostWindows::follow(shell::Form1& form) {
    form_ = &form;
    form.afterEvent = [this] { requestRefresh(); };
}

void HostWindows::requestRefresh() {
    if (refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        refresh();
    });
}

void HostWindows::refresh() {
    if (refreshing_) {
        requestRefresh();
        return;
    }
    const QScopedValueRollback<bool> guard(refreshing_, true);
    for (const char* key : kHostKeys) {
        QPointer<HostWindow>& window = windows_[key];
        if (office_.hostWindow(key) == 0) {
            // The host stopped or closed its window. The widget may be mid-click, so it goes later.
            if (window != nullptr) {
                window->hide();
                window->deleteLater();
                std::erase_if(retired_, [](const QPointer<HostWindow>& gone) { return gone == nullptr; });
                retired_.push_back(window);
            }
            window = nullptr;
            continue;
        }
        if (window == nullptr) {
            window = new HostWindow(office_, key);
            // Cascaded, as windows of several programs open on a desktop.
            const int step = opened_++ % 8;
            window->move(60 + 40 * step, 60 + 40 * step);
            window->onHostChanged = [this] { requestRefresh(); };
        }
        window->refresh();
    }
    // Tessaline's window is topmost; a window manager keeps it so, but without one (a bare X server) a host
    // window brought to the front would cover it.
    if (keepAbove_ != nullptr && keepAbove_->isVisible()) keepAbove_->raise();
}

HostWindow* HostWindows::window(const std::string& hostKey) const {
    const auto found = windows_.find(hostKey);
    return found == windows_.end() ? nullptr : found->second.data();
}

std::vector<HostWindow*> HostWindows::windows() const {
    std::vector<HostWindow*> open;
    for (const char* key : kHostKeys) {
        if (HostWindow* window = this->window(key)) open.push_back(window);
    }
    return open;
}

}  // namespace tessaline::ui
