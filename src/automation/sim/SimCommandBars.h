#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "automation/ChangeCounting.h"
#include "automation/Office.h"
#include "automation/sim/CallGate.h"
#include "automation/sim/Content.h"

// The command-bar engine of the in-memory Office: one CommandBars collection per host, its bars and their
// controls. Bars and controls refer upwards through weak references only, so a host owns its whole tree.
namespace tessaline::automation::sim {

class SimCommandBar;
class SimCommandBars;
class SimControl;

// What a host did on its own account: the default actions of clicked controls ("macro:Name",
// "builtin:3 保存(&S)") and failures inside click sinks ("sink-error:text"). One per in-memory Office.
class ActionLog {
public:
    void add(std::string entry) { entries_.push_back(std::move(entry)); }
    const std::vector<std::string>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

private:
    std::vector<std::string> entries_;
};

// The Click connections of one host. A connection hears every button with the Id and Tag that its button
// had when it was connected, as Office keys its event hooks by them.
class ClickHub {
public:
    int connect(int id, std::string tag, CommandBarButton::ClickSink sink);
    void disconnect(int cookie);
    // Calls the matching sinks in connection order; returns CancelDefault. A sink connected or disconnected
    // during delivery takes effect for later clicks (a disconnected one is not called any more). A sink
    // that fails does not stop the others: the failure goes to the action log, as a host ignores what its
    // event sinks return.
    bool fire(const ButtonPtr& ctrl, int id, const std::string& tag, ActionLog& log);
    int connectionCount() const { return live_; }

private:
    struct Connection {
        int id;
        std::string tag;
        std::shared_ptr<CommandBarButton::ClickSink> sink;  // null once disconnected
    };
    using Key = std::pair<int, std::string>;  // Id and Tag
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return std::hash<std::string>()(key.second) * 31 + static_cast<std::size_t>(key.first);
        }
    };
    // Cookies grow with every connection, so a cookie is its connection's place here plus one, and sorted
    // cookies are connection order. A capture hooks every button of a host, so connections are indexed both
    // ways to keep a hook, a click and a release cheap.
    std::vector<Connection> connections_;
    std::unordered_map<Key, std::vector<int>, KeyHash> cookiesByKey_;
    int live_ = 0;
};

// Shared by every bar and control of one host.
struct HostContext {
    std::weak_ptr<Object> host;  // the Parent of a top-level bar
    ClickHub clicks;
    std::shared_ptr<ActionLog> log;
    std::shared_ptr<const std::vector<BarSpec>> shipped;  // the host's content, for built-in Ids
    GatePtr gate;                                         // null outside a machine
    // Grows with every change of any bar or control of the host, so that a window showing the bars knows
    // without reading them that nothing changed.
    std::uint64_t changes = 0;

    void pass(std::string_view type, std::string_view member) const { sim::pass(gate, type, member); }
};

class SimCommandBars final : public CommandBars,
                             public ChangeCounting,
                             public std::enable_shared_from_this<SimCommandBars> {
public:
    // Builds the shipped bars of a host; `host` becomes their Parent.
    static std::shared_ptr<SimCommandBars> create(std::weak_ptr<Object> host,
                                                  std::shared_ptr<const std::vector<BarSpec>> bars,
                                                  std::shared_ptr<ActionLog> log, GatePtr gate = nullptr);

    int Count() override;
    CommandBarPtr Item(const Variant& indexOrName) override;
    std::vector<CommandBarPtr> Enumerate() override;
    CommandBarPtr Add(const Optional& name, const Optional& position, const Optional& menuBar,
                      const Optional& temporary) override;
    ControlPtr FindControl(const Optional& type, const Optional& id, const Optional& tag,
                           const Optional& visible) override;

    // For the engine and the test hooks.
    std::shared_ptr<SimCommandBar> bar(std::size_t zeroBasedIndex) const { return bars_.at(zeroBasedIndex); }
    std::shared_ptr<SimCommandBar> findByName(std::string_view name) const;
    int indexOf(const SimCommandBar* bar) const;  // 1-based, 0 when absent
    void removeBar(const SimCommandBar* bar);
    std::size_t size() const { return bars_.size(); }
    const std::shared_ptr<HostContext>& context() const { return context_; }
    // See HostContext::changes.
    std::uint64_t changeCount() const { return context_->changes; }
    // The bar's own count (SimCommandBar::changeCount).
    std::optional<std::uint64_t> changeCount(CommandBar& bar) const override;

private:
    explicit SimCommandBars(std::shared_ptr<HostContext> context) : context_(std::move(context)) {}

    std::shared_ptr<HostContext> context_;
    std::vector<std::shared_ptr<SimCommandBar>> bars_;
    // Positions looked up by Index, rebuilt after the collection changes, so that walking the collection
    // and asking each member its Index stays linear.
    mutable std::unordered_map<const SimCommandBar*, int> positions_;
    mutable bool positionsValid_ = false;

    friend class KeptBars;  // reads and rebuilds the bars a user keeps between runs
};

class SimCommandBar final : public CommandBar, public std::enable_shared_from_this<SimCommandBar> {
public:
    // A top-level bar of `owner`. `shipped` is null for a custom bar.
    static std::shared_ptr<SimCommandBar> topLevel(const std::shared_ptr<SimCommandBars>& owner, const BarSpec& spec,
                                                   bool builtIn);
    // The bar of sub items of a popup control.
    static std::shared_ptr<SimCommandBar> ofPopup(const std::shared_ptr<SimControl>& popup);

    int Index() override;
    std::string Name() override;
    void SetName(const std::string& name) override;
    std::string NameLocal() override;
    void SetNameLocal(const std::string& name) override;
    bool BuiltIn() override;
    int Type() override;
    bool Enabled() override;
    void SetEnabled(bool enabled) override;
    bool Visible() override;
    void SetVisible(bool visible) override;
    int Position() override;
    void SetPosition(const Variant& position) override;
    int Width() override;
    void SetWidth(const Variant& width) override;
    int Height() override;
    ControlsPtr Controls() override;
    ObjectPtr Parent() override;
    void Delete() override;
    void Reset() override;
    ControlPtr FindControl(const Optional& type, const Optional& id, const Optional& tag, const Optional& visible,
                           const Optional& recursive) override;

    // The engine's side (past the host's gate, like SimControl's).
    const std::string& name() const { return name_; }
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    const std::vector<std::shared_ptr<SimControl>>& items() const { return controls_; }
    std::shared_ptr<SimControl> item(int oneBasedIndex) const;
    int indexOf(const SimControl* control) const;  // 1-based, 0 when absent
    void insert(std::size_t zeroBasedPos, std::shared_ptr<SimControl> control);
    void remove(const SimControl* control);
    // Fills the bar with controls built from their descriptions (shipped content). `keeper` owns `specs`: the
    // controls then point into it instead of each copying its description (null: they copy).
    void populate(const std::vector<ControlSpec>& specs, const std::shared_ptr<const void>& keeper);
    void markDeleted();
    bool deleted() const { return deleted_; }
    // Made with Temporary:=True: gone at the next start, as Office does not keep it.
    void markTemporary() { temporary_ = true; }
    // Grows with every change of the bar, of its controls and of the sub items of its popups.
    std::uint64_t changeCount() const { return changes_; }
    // Counts a change here, in the bars above (a popup's bar is part of the popup's bar) and in the host.
    void changed();
    bool isPopupBar() const { return isPopupBar_; }
    std::shared_ptr<SimControl> popup() const { return popup_.lock(); }
    const std::shared_ptr<HostContext>& context() const { return context_; }
    // Whether `control` is this bar's popup or a popup above it (a popup may not go into its own sub bars).
    bool isWithin(const SimControl* control) const;
    // Lets the call through the host's gate, then refuses any use of a deleted bar, as Office does. `type` is
    // the object the call is made on (the bar's Controls collection passes here too).
    void checkAlive(const char* member, const char* type = "CommandBar") const;

private:
    explicit SimCommandBar(std::shared_ptr<HostContext> context) : context_(std::move(context)) {}
    void clearControls();

    std::shared_ptr<HostContext> context_;
    std::weak_ptr<SimCommandBars> owner_;  // top-level bars
    std::weak_ptr<SimControl> popup_;      // bars of popups
    bool isPopupBar_ = false;
    std::shared_ptr<const BarSpec> shipped_;  // what Reset restores; null for custom bars
    std::string name_;
    std::string nameLocal_;
    bool builtIn_ = false;
    int type_ = 0;
    bool enabled_ = true;
    bool visible_ = false;
    int position_ = 1;
    std::optional<int> width_;
    bool deleted_ = false;
    bool temporary_ = false;
    std::uint64_t changes_ = 0;
    std::vector<std::shared_ptr<SimControl>> controls_;
    mutable std::unordered_map<const SimControl*, int> positions_;  // see SimCommandBars::positions_
    mutable bool positionsValid_ = false;

    friend class KeptBars;
};

class SimControls final : public CommandBarControls {
public:
    explicit SimControls(std::shared_ptr<SimCommandBar> bar) : bar_(std::move(bar)) {}

    int Count() override;
    ControlPtr Item(const Variant& indexOrCaption) override;
    std::vector<ControlPtr> Enumerate() override;
    ControlPtr Add(const Optional& type, const Optional& id, const Optional& parameter, const Optional& before,
                   const Optional& temporary) override;

private:
    std::shared_ptr<SimCommandBar> bar_;
};

// One class for every kind of control; the typed views refuse what the control's type does not allow.
class SimControl final : public CommandBarButton,
                         public CommandBarPopup,
                         public CommandBarComboBox,
                         public std::enable_shared_from_this<SimControl> {
public:
    // A control built from its description, with its sub items for a popup.
    // `keeper` owns `spec` (see SimCommandBar::populate).
    static std::shared_ptr<SimControl> fromSpec(const std::shared_ptr<HostContext>& context, const ControlSpec& spec,
                                                bool builtIn, const std::shared_ptr<const void>& keeper = nullptr);

    std::string TypeName() const override;

    // CommandBarControl
    int Index() override;
    int Id() override;
    std::string Caption() override;
    void SetCaption(const std::string& caption) override;
    bool BuiltIn() override;
    bool BeginGroup() override;
    void SetBeginGroup(bool beginGroup) override;
    int Type() override;
    bool Enabled() override;
    void SetEnabled(bool enabled) override;
    bool Visible() override;
    void SetVisible(bool visible) override;
    std::string OnAction() override;
    void SetOnAction(const std::string& macro) override;
    std::string TooltipText() override;
    void SetTooltipText(const std::string& text) override;
    std::string Tag() override;
    void SetTag(const std::string& tag) override;
    int Width() override;
    void SetWidth(const Variant& width) override;
    CommandBarPtr Parent() override;
    ControlPtr Copy(const CommandBarPtr& bar, const Optional& before) override;
    void Move(const CommandBarPtr& bar, const Optional& before) override;
    void Delete(const Optional& temporary) override;
    void Execute() override;
    Variant GetProperty(std::string_view member) override;
    void SetProperty(std::string_view member, const Variant& value) override;
    ButtonPtr AsButton() override;
    PopupPtr AsPopup() override;
    ComboBoxPtr AsComboBox() override;

    // CommandBarButton
    int FaceId() override;
    void SetFaceId(const Variant& faceId) override;
    int Style() override;
    void SetStyle(const Variant& style) override;
    std::string ShortcutText() override;
    void SetShortcutText(const std::string& text) override;
    int ConnectClick(ClickSink sink) override;
    void DisconnectClick(int cookie) override;

    // CommandBarPopup
    ControlsPtr Controls() override;
    CommandBarPtr CommandBar() override;

    // CommandBarComboBox
    void AddItem(const std::string& text, const Optional& index) override;
    void RemoveItem(const Variant& index) override;
    void Clear() override;
    int ListCount() override;
    std::string List(int index) override;
    std::string Text() override;
    void SetText(const std::string& text) override;

    // The engine's side. The host reads its own state past its gate, so these are not calls of the tool.
    int id() const { return id_; }
    int type() const { return type_; }
    const std::string& tag() const { return tag_; }
    const std::string& caption() const { return caption_; }
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    bool builtIn() const { return builtIn_; }
    int width() const;
    // A click on the control as the host delivers it: the sinks, then the default action unless cancelled.
    void click();
    std::shared_ptr<SimCommandBar> parentBar() const { return parent_.lock(); }
    void setParentBar(const std::shared_ptr<SimCommandBar>& bar) { parent_ = bar; }
    std::shared_ptr<SimCommandBar> popupBar() const { return popupBar_; }
    // A deep copy (sub items included) that belongs to no bar yet.
    std::shared_ptr<SimControl> clone() const;
    void markDeleted();
    bool deleted() const { return deleted_; }
    // Made with Temporary:=True: gone at the next start, as Office does not keep it.
    void markTemporary() { temporary_ = true; }
    // Whether the sub items of this popup can be restored (a built-in popup from the content).
    const std::shared_ptr<const ControlSpec>& shipped() const { return shipped_; }
    // The runnable default of a click, "" when the control has none.
    std::string defaultAction() const;

private:
    explicit SimControl(std::shared_ptr<HostContext> context) : context_(std::move(context)) {}
    void checkAlive(const char* member) const;
    // Counts a change of what the control shows in its bar (SimCommandBar::changed).
    void changed();
    void checkButtonMember(const char* member) const;
    void checkListMember(const char* member, bool changesList) const;
    ButtonPtr selfAsButton();

    std::shared_ptr<HostContext> context_;
    std::weak_ptr<SimCommandBar> parent_;
    std::shared_ptr<SimCommandBar> popupBar_;  // types 10 to 14
    std::shared_ptr<const ControlSpec> shipped_;
    int type_ = 1;
    int id_ = 1;
    std::string caption_;
    bool builtIn_ = false;
    bool beginGroup_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool protected_ = false;  // from the content: Delete is refused
    std::string onAction_;
    std::string tooltipText_;
    std::string tag_;
    std::optional<int> width_;
    int faceId_ = 0;
    int style_ = 0;
    std::string shortcutText_;
    std::vector<std::string> items_;
    std::string text_;
    bool deleted_ = false;
    bool temporary_ = false;

    friend class SimCommandBar;
    friend class KeptBars;
};

// Names compared as Office compares bar names and captions: ASCII letters ignore case.
bool sameName(std::string_view a, std::string_view b);

}  // namespace tessaline::automation::sim
