#include "ui/HostWindow.h"

#include <QCloseEvent>
#include <QLabel>
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
    view_ = std::make_unique<HostBarsView>(HostBarsView::Actions{
        [this](const automation::ControlPtr& control) { runControl(control); },
        [this](const automation::ControlPtr& control, const std::string& text) { enterText(control, text); }});

    workArea_ = new QScrollArea(this);
    workArea_->setObjectName(QStringLiteral("workArea"));
    workArea_->setWidgetResizable(true);
    workArea_->setBackgroundRole(QPalette::Dark);
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
    setWindowTitle(toQ(titleOf(office_, hostKey_)));
    HostBars bars;
    if (const automation::CommandBarsPtr commandBars = hostBars()) bars = readHostBars(*commandBars);
    if (!everBuilt_ || !(bars == shown_)) rebuild(std::move(bars));
    applyShowState();
    if (sheetView_ != nullptr) sheetView_->refresh();
    return true;
}

void HostWindow::rebuild(HostBars bars) {
    ++buildCount_;
    everBuilt_ = true;

    // Old widgets go later, not now: a click on one of them may be what asked for this rebuild.
    if (auto* old = qobject_cast<QMenuBar*>(menuWidget())) old->setCornerWidget(nullptr, Qt::TopRightCorner);
    if (bars.menuBar) {
        auto* menuBar = new QMenuBar;
        view_->fillMenuBar(*menuBar, *bars.menuBar);
        setMenuBar(menuBar);
    } else {
        setMenuBar(nullptr);
    }

    for (const QPointer<QToolBar>& old : toolBars_) {
        if (old == nullptr) continue;
        if (toolBarBreak(old)) removeToolBarBreak(old);
        removeToolBar(old);
        old->deleteLater();
    }
    toolBars_.clear();

    auto* floating = new QWidget;
    auto* floatingLayout = new QVBoxLayout(floating);
    floatingLayout->setContentsMargins(12, 12, 12, 12);
    floatingLayout->setSpacing(12);
    std::map<Qt::ToolBarArea, int> barsInArea;
    for (const ShownBar& bar : bars.toolbars) {
        if (bar.position == mso::BarFloating) {
            floatingLayout->addWidget(view_->makeFloatingBar(bar, floating), 0, Qt::AlignLeft | Qt::AlignTop);
            continue;
        }
        // One row per bar, so every button shows instead of hiding behind an overflow arrow.
        const Qt::ToolBarArea area = areaOf(bar.position);
        if (barsInArea[area]++ > 0) addToolBarBreak(area);
        QToolBar* toolBar = view_->makeToolBar(bar, this);
        addToolBar(area, toolBar);
        toolBars_.emplace_back(toolBar);
    }
    floatingLayout->addStretch(1);
    if (QWidget* old = workArea_->takeWidget()) old->deleteLater();
    workArea_->setWidget(floating);

    shown_ = std::move(bars);
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
    QWidget* area = workArea_->widget();
    return area == nullptr ? nullptr : area->findChild<QWidget*>(toQ(barName), Qt::FindDirectChildrenOnly);
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
