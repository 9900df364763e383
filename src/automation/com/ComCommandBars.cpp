#include "automation/com/ComCommandBars.h"

#include "automation/AutomationError.h"
#include "automation/com/ClickSink.h"

namespace tessaline::automation::com {

namespace {

bool isButtonType(int type) { return type == mso::ControlButton || (type >= mso::ControlPopup && type <= 14); }
bool isPopupType(int type) { return type >= mso::ControlPopup && type <= mso::ControlSplitButtonMRUPopup; }
bool isComboType(int type) { return type >= mso::ControlEdit && type <= mso::ControlComboBox; }

}  // namespace

CommandBarsPtr wrapCommandBars(ComPtr<IDispatch> object, const ContextPtr& context) {
    if (!object) return nullptr;
    return std::make_shared<ComCommandBars>(std::move(object), context);
}

CommandBarPtr wrapCommandBar(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder holder) {
    if (!object) return nullptr;
    return std::make_shared<ComCommandBar>(std::move(object), context, holder);
}

ControlPtr wrapControl(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder parentHolder) {
    if (!object) return nullptr;
    return std::make_shared<ComControl>(std::move(object), context, parentHolder);
}

IDispatch* dispatchOf(const CommandBarPtr& bar) {
    if (!bar) return nullptr;
    const auto* ours = dynamic_cast<const ComCommandBar*>(bar.get());
    if (!ours) throw invalidCall();  // a bar of some other Office
    return ours->dispatch();
}

// ---- CommandBars ----

ComCommandBars::ComCommandBars(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "CommandBars", this) {}

int ComCommandBars::Count() { return d_.getInt("Count"); }

CommandBarPtr ComCommandBars::Item(const Variant& indexOrName) {
    return wrapCommandBar(d_.getObject("Item", Args().add(indexOrName)), d_.context(), BarHolder::Host);
}

std::vector<CommandBarPtr> ComCommandBars::Enumerate() {
    std::vector<CommandBarPtr> bars;
    for (auto& object : d_.enumerateObjects()) bars.push_back(wrapCommandBar(object, d_.context(), BarHolder::Host));
    return bars;
}

CommandBarPtr ComCommandBars::Add(const Optional& name, const Optional& position, const Optional& menuBar,
                                  const Optional& temporary) {
    Args args;
    args.named("Name", name).named("Position", position).named("MenuBar", menuBar).named("Temporary", temporary);
    return wrapCommandBar(d_.callObject("Add", args), d_.context(), BarHolder::Host);
}

ControlPtr ComCommandBars::FindControl(const Optional& type, const Optional& id, const Optional& tag,
                                       const Optional& visible) {
    Args args;
    args.named("Type", type).named("Id", id).named("Tag", tag).named("Visible", visible);
    return wrapControl(d_.callObject("FindControl", args), d_.context(), BarHolder::Unknown);
}

// ---- CommandBar ----

ComCommandBar::ComCommandBar(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder holder)
    : d_(std::move(object), context, "CommandBar", this), holder_(holder) {}

int ComCommandBar::Index() { return d_.getInt("Index"); }
std::string ComCommandBar::Name() { return d_.getString("Name"); }
void ComCommandBar::SetName(const std::string& name) { d_.put("Name", name); }
std::string ComCommandBar::NameLocal() { return d_.getString("NameLocal"); }
void ComCommandBar::SetNameLocal(const std::string& name) { d_.put("NameLocal", name); }
bool ComCommandBar::BuiltIn() { return d_.getBool("BuiltIn"); }
int ComCommandBar::Type() { return d_.getInt("Type"); }
bool ComCommandBar::Enabled() { return d_.getBool("Enabled"); }
void ComCommandBar::SetEnabled(bool enabled) { d_.put("Enabled", enabled); }
bool ComCommandBar::Visible() { return d_.getBool("Visible"); }
void ComCommandBar::SetVisible(bool visible) { d_.put("Visible", visible); }
int ComCommandBar::Position() { return d_.getInt("Position"); }
void ComCommandBar::SetPosition(const Variant& position) { d_.put("Position", position); }
int ComCommandBar::Width() { return d_.getInt("Width"); }
void ComCommandBar::SetWidth(const Variant& width) { d_.put("Width", width); }
int ComCommandBar::Height() { return d_.getInt("Height"); }

ControlsPtr ComCommandBar::Controls() {
    auto object = d_.getObject("Controls");
    if (!object) return nullptr;
    return std::make_shared<ComControls>(std::move(object), d_.context(), holder_);
}

ObjectPtr ComCommandBar::Parent() {
    auto parent = d_.getObject("Parent");
    if (!parent) return nullptr;
    BarHolder holder = holder_;
    if (holder == BarHolder::Unknown) {
        // Only a popup control has a CommandBar member; a host application or the editor has not.
        holder =
            Dispatch(parent, d_.context(), "", nullptr).hasMember("CommandBar") ? BarHolder::Popup : BarHolder::Host;
    }
    if (holder == BarHolder::Popup) return wrapControl(std::move(parent), d_.context(), BarHolder::Unknown);
    return wrapHost(std::move(parent), d_.context());
}

void ComCommandBar::Delete() { d_.call("Delete"); }
void ComCommandBar::Reset() { d_.call("Reset"); }

ControlPtr ComCommandBar::FindControl(const Optional& type, const Optional& id, const Optional& tag,
                                      const Optional& visible, const Optional& recursive) {
    Args args;
    args.named("Type", type).named("Id", id).named("Tag", tag).named("Visible", visible).named("Recursive", recursive);
    return wrapControl(d_.callObject("FindControl", args), d_.context(), BarHolder::Unknown);
}

// ---- CommandBarControls ----

ComControls::ComControls(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder barHolder)
    : d_(std::move(object), context, "CommandBarControls", this), barHolder_(barHolder) {}

int ComControls::Count() { return d_.getInt("Count"); }

ControlPtr ComControls::Item(const Variant& indexOrCaption) {
    return wrapControl(d_.getObject("Item", Args().add(indexOrCaption)), d_.context(), barHolder_);
}

std::vector<ControlPtr> ComControls::Enumerate() {
    std::vector<ControlPtr> controls;
    for (auto& object : d_.enumerateObjects()) controls.push_back(wrapControl(object, d_.context(), barHolder_));
    return controls;
}

ControlPtr ComControls::Add(const Optional& type, const Optional& id, const Optional& parameter, const Optional& before,
                            const Optional& temporary) {
    Args args;
    args.named("Type", type).named("Id", id).named("Parameter", parameter).named("Before", before);
    args.named("Temporary", temporary);
    return wrapControl(d_.callObject("Add", args), d_.context(), barHolder_);
}

// ---- Controls ----

ComControl::ComControl(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder parentHolder)
    : d_(std::move(object), context, "CommandBarControl", this), parentHolder_(parentHolder) {}

int ComControl::kind() const {
    if (!type_) {
        if (askingType_) return mso::ControlCustom;  // the Type call itself failed: name it generically
        askingType_ = true;
        try {
            type_ = d_.getInt("Type");
        } catch (...) {
            askingType_ = false;
            throw;
        }
        askingType_ = false;
    }
    return *type_;
}

std::string ComControl::TypeName() const {
    int type = mso::ControlCustom;
    try {
        type = kind();
    } catch (...) {
        return "CommandBarControl";
    }
    if (type == mso::ControlButton) return "CommandBarButton";
    if (isPopupType(type)) return "CommandBarPopup";
    if (isComboType(type)) return "CommandBarComboBox";
    return "CommandBarControl";
}

int ComControl::Index() { return d_.getInt("Index"); }
int ComControl::Id() { return d_.getInt("Id"); }
std::string ComControl::Caption() { return d_.getString("Caption"); }
void ComControl::SetCaption(const std::string& caption) { d_.put("Caption", caption); }
bool ComControl::BuiltIn() { return d_.getBool("BuiltIn"); }
bool ComControl::BeginGroup() { return d_.getBool("BeginGroup"); }
void ComControl::SetBeginGroup(bool beginGroup) { d_.put("BeginGroup", beginGroup); }

int ComControl::Type() {
    const int type = d_.getInt("Type");
    type_ = type;
    return type;
}

bool ComControl::Enabled() { return d_.getBool("Enabled"); }
void ComControl::SetEnabled(bool enabled) { d_.put("Enabled", enabled); }
bool ComControl::Visible() { return d_.getBool("Visible"); }
void ComControl::SetVisible(bool visible) { d_.put("Visible", visible); }
std::string ComControl::OnAction() { return d_.getString("OnAction"); }
void ComControl::SetOnAction(const std::string& macro) { d_.put("OnAction", macro); }
std::string ComControl::TooltipText() { return d_.getString("TooltipText"); }
void ComControl::SetTooltipText(const std::string& text) { d_.put("TooltipText", text); }
std::string ComControl::Tag() { return d_.getString("Tag"); }
void ComControl::SetTag(const std::string& tag) { d_.put("Tag", tag); }
int ComControl::Width() { return d_.getInt("Width"); }
void ComControl::SetWidth(const Variant& width) { d_.put("Width", width); }

CommandBarPtr ComControl::Parent() { return wrapCommandBar(d_.getObject("Parent"), d_.context(), parentHolder_); }

ControlPtr ComControl::Copy(const CommandBarPtr& bar, const Optional& before) {
    Args args;
    args.named("Bar", dispatchOf(bar)).named("Before", before);
    // The copy lands in the target bar, whose holder is only known when it is our own.
    return wrapControl(d_.callObject("Copy", args), d_.context(), bar ? BarHolder::Unknown : parentHolder_);
}

void ComControl::Move(const CommandBarPtr& bar, const Optional& before) {
    Args args;
    args.named("Bar", dispatchOf(bar)).named("Before", before);
    d_.call("Move", args);
    if (bar) parentHolder_ = BarHolder::Unknown;
}

void ComControl::Delete(const Optional& temporary) { d_.call("Delete", Args().add(temporary)); }
void ComControl::Execute() { d_.call("Execute"); }

Variant ComControl::GetProperty(std::string_view member) { return valueOf(d_.get(member)); }
void ComControl::SetProperty(std::string_view member, const Variant& value) { d_.put(member, value); }

ButtonPtr ComControl::AsButton() {
    if (!isButtonType(kind())) throw typeMismatch();
    return std::static_pointer_cast<CommandBarButton>(shared_from_this());
}

PopupPtr ComControl::AsPopup() {
    if (!isPopupType(kind())) throw typeMismatch();
    return std::static_pointer_cast<CommandBarPopup>(shared_from_this());
}

ComboBoxPtr ComControl::AsComboBox() {
    if (!isComboType(kind())) throw typeMismatch();
    return std::static_pointer_cast<CommandBarComboBox>(shared_from_this());
}

int ComControl::FaceId() { return d_.getInt("FaceId"); }
void ComControl::SetFaceId(const Variant& faceId) { d_.put("FaceId", faceId); }
int ComControl::Style() { return d_.getInt("Style"); }
void ComControl::SetStyle(const Variant& style) { d_.put("Style", style); }
std::string ComControl::ShortcutText() { return d_.getString("ShortcutText"); }
void ComControl::SetShortcutText(const std::string& text) { d_.put("ShortcutText", text); }

int ComControl::ConnectClick(ClickSink sink) {
    if (!isButtonType(kind())) throw typeMismatch();
    if (!sink) throw invalidCall();
    const ContextPtr context = d_.context();
    // The connection outlives the wrappers the tool let go of, so it keeps its host's name and reaches the
    // desktop's session weakly: the session owns the connections, which must not keep it alive.
    std::weak_ptr<ComSession> session = context->session;
    auto handler = [session, hostKey = context->hostKey, sink = std::move(sink)](const ComPtr<IDispatch>& ctrl,
                                                                                 bool& cancelDefault) {
        auto owner = session.lock();
        if (!owner) return;
        auto clicked = std::make_shared<ComControl>(
            ctrl, std::make_shared<ComContext>(ComContext{hostKey, std::move(owner)}), BarHolder::Unknown);
        sink(std::static_pointer_cast<CommandBarButton>(clicked), cancelDefault);
    };
    return context->session->clicks->connect(d_.get(), std::move(handler));
}

void ComControl::DisconnectClick(int cookie) { d_.context()->session->clicks->disconnect(cookie); }

ControlsPtr ComControl::Controls() {
    auto object = d_.getObject("Controls");
    if (!object) return nullptr;
    return std::make_shared<ComControls>(std::move(object), d_.context(), BarHolder::Popup);
}

CommandBarPtr ComControl::CommandBar() {
    return wrapCommandBar(d_.getObject("CommandBar"), d_.context(), BarHolder::Popup);
}

void ComControl::AddItem(const std::string& text, const Optional& index) {
    d_.call("AddItem", Args().add(Variant(text)).add(index));
}

void ComControl::RemoveItem(const Variant& index) { d_.call("RemoveItem", Args().add(index)); }
void ComControl::Clear() { d_.call("Clear"); }
int ComControl::ListCount() { return d_.getInt("ListCount"); }
std::string ComControl::List(int index) { return d_.getString("List", Args().add(Variant(index))); }
std::string ComControl::Text() { return d_.getString("Text"); }
void ComControl::SetText(const std::string& text) { d_.put("Text", text); }

}  // namespace tessaline::automation::com
