#include <algorithm>
#include <cmath>

#include "automation/AutomationError.h"
#include "automation/sim/SimCommandBars.h"

namespace tessaline::automation::sim {

namespace {

std::string folded(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// Rough on-screen width of a caption: narrow Latin letters, wide Chinese ones, accelerator marks unseen.
int captionWidth(std::string_view caption) {
    int width = 0;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const auto c = static_cast<unsigned char>(caption[i]);
        if (c == '&') {
            continue;
        }
        if (c < 0x80) {
            width += 7;
        } else if ((c & 0xC0) == 0xC0) {
            width += 12;  // first byte of a multi-byte character
        }
    }
    return width;
}

std::shared_ptr<SimCommandBar> targetBar(const CommandBarPtr& bar, const std::shared_ptr<SimCommandBar>& own) {
    if (!bar) {
        return own;
    }
    auto sim = std::dynamic_pointer_cast<SimCommandBar>(bar);
    if (!sim) {
        throw invalidCall();  // a bar of some other Office
    }
    return sim;
}

int beforeIndex(const Optional& before, const SimCommandBar& target) {
    const int count = static_cast<int>(target.items().size());
    const int index = before && !before->isEmpty() ? before->toLong() : count + 1;
    if (index < 1 || index > count + 1) {
        throw invalidCall();
    }
    return index;
}

}  // namespace

std::shared_ptr<SimControl> SimControl::fromSpec(const std::shared_ptr<HostContext>& context, const ControlSpec& spec,
                                                 bool builtIn, const std::shared_ptr<const void>& keeper) {
    auto control = std::shared_ptr<SimControl>(new SimControl(context));
    control->type_ = spec.type;
    control->id_ = spec.id;
    control->caption_ = spec.caption;
    control->builtIn_ = builtIn;
    control->beginGroup_ = spec.beginGroup;
    control->enabled_ = spec.enabled;
    control->visible_ = spec.visible;
    control->protected_ = spec.isProtected;
    control->onAction_ = spec.onAction;
    control->tooltipText_ = spec.tooltipText;
    control->tag_ = spec.tag;
    control->width_ = spec.width;
    control->faceId_ = spec.faceId;
    control->style_ = spec.style;
    control->shortcutText_ = spec.shortcutText;
    control->items_ = spec.items;
    control->text_ = spec.text;
    // A built-in control keeps its description for Reset; shared with the host's content where it lives there,
    // since copying it (sub items included) for every control was most of a large host's memory.
    if (builtIn) {
        control->shipped_ =
            keeper ? std::shared_ptr<const ControlSpec>(keeper, &spec) : std::make_shared<const ControlSpec>(spec);
    }
    if (isPopupType(spec.type)) {
        control->popupBar_ = SimCommandBar::ofPopup(control);
        if (control->shipped_) {
            control->popupBar_->populate(control->shipped_->controls, control->shipped_);
        } else {
            control->popupBar_->populate(spec.controls, nullptr);
        }
    }
    return control;
}

std::shared_ptr<SimControl> SimControl::clone() const {
    auto copy = std::shared_ptr<SimControl>(new SimControl(context_));
    copy->shipped_ = shipped_;
    copy->type_ = type_;
    copy->id_ = id_;
    copy->caption_ = caption_;
    copy->builtIn_ = builtIn_;
    copy->beginGroup_ = beginGroup_;
    copy->enabled_ = enabled_;
    copy->visible_ = visible_;
    copy->onAction_ = onAction_;
    copy->tooltipText_ = tooltipText_;
    copy->tag_ = tag_;
    copy->width_ = width_;
    copy->faceId_ = faceId_;
    copy->style_ = style_;
    copy->shortcutText_ = shortcutText_;
    copy->items_ = items_;
    copy->text_ = text_;
    if (popupBar_) {
        copy->popupBar_ = SimCommandBar::ofPopup(copy);
        for (const auto& child : popupBar_->items()) {
            copy->popupBar_->insert(copy->popupBar_->items().size(), child->clone());
        }
    }
    return copy;
}

void SimControl::markDeleted() {
    deleted_ = true;
    changed();
    if (popupBar_) {
        popupBar_->markDeleted();
    }
}

std::string SimControl::TypeName() const {
    if (type_ == mso::ControlButton) {
        return "CommandBarButton";
    }
    if (isPopupType(type_)) {
        return "CommandBarPopup";
    }
    if (isComboType(type_)) {
        return "CommandBarComboBox";
    }
    return "CommandBarControl";
}

void SimControl::changed() {
    if (const auto bar = parent_.lock()) bar->changed();
}

void SimControl::checkAlive(const char* member) const {
    context_->pass("CommandBarControl", member);
    if (deleted_) {
        throw methodFailed(memberText(member), TypeName());
    }
}

void SimControl::checkButtonMember(const char* member) const {
    checkAlive(member);
    if (type_ != mso::ControlButton) {
        throw noSuchMember();
    }
}

void SimControl::checkListMember(const char* member, bool changesList) const {
    checkAlive(member);
    if (!isComboType(type_)) {
        throw noSuchMember();
    }
    // An edit box has no list; a built-in list belongs to its command.
    if (changesList && (type_ == mso::ControlEdit || builtIn_)) {
        throw methodFailed(memberText(member), TypeName());
    }
}

int SimControl::Index() {
    checkAlive("Index");
    const auto bar = parent_.lock();
    return bar ? bar->indexOf(this) : 0;
}

int SimControl::Id() {
    checkAlive("Id");
    return id_;
}

std::string SimControl::Caption() {
    checkAlive("Caption");
    return caption_;
}

void SimControl::SetCaption(const std::string& caption) {
    checkAlive("Caption=");
    caption_ = caption;
    changed();
}

bool SimControl::BuiltIn() {
    checkAlive("BuiltIn");
    return builtIn_;
}

bool SimControl::BeginGroup() {
    checkAlive("BeginGroup");
    return beginGroup_;
}

void SimControl::SetBeginGroup(bool beginGroup) {
    checkAlive("BeginGroup=");
    beginGroup_ = beginGroup;
    changed();
}

int SimControl::Type() {
    checkAlive("Type");
    return type_;
}

bool SimControl::Enabled() {
    checkAlive("Enabled");
    return enabled_;
}

void SimControl::SetEnabled(bool enabled) {
    checkAlive("Enabled=");
    enabled_ = enabled;
    changed();
}

bool SimControl::Visible() {
    checkAlive("Visible");
    return visible_;
}

void SimControl::SetVisible(bool visible) {
    checkAlive("Visible=");
    visible_ = visible;
    changed();
}

std::string SimControl::OnAction() {
    checkAlive("OnAction");
    return onAction_;
}

void SimControl::SetOnAction(const std::string& macro) {
    checkAlive("OnAction=");
    onAction_ = macro;
    if (!macro.empty()) {
        builtIn_ = false;  // it no longer runs its built-in command
    }
    changed();
}

std::string SimControl::TooltipText() {
    checkAlive("TooltipText");
    return tooltipText_;
}

void SimControl::SetTooltipText(const std::string& text) {
    checkAlive("TooltipText=");
    tooltipText_ = text;
    changed();
}

std::string SimControl::Tag() {
    checkAlive("Tag");
    return tag_;
}

void SimControl::SetTag(const std::string& tag) {
    checkAlive("Tag=");
    tag_ = tag;
    changed();
}

int SimControl::Width() {
    checkAlive("Width");
    return width();
}

int SimControl::width() const {
    if (width_) {
        return *width_;
    }
    if (isComboType(type_)) {
        return 100;
    }
    const bool iconOnly =
        type_ == mso::ControlButton && (style_ == mso::ButtonIcon || (style_ == mso::ButtonAutomatic && faceId_ != 0));
    if (iconOnly) {
        return 23;
    }
    return 16 + captionWidth(caption_) + (type_ == mso::ControlButton && style_ != mso::ButtonCaption ? 23 : 0);
}

void SimControl::SetWidth(const Variant& width) {
    checkAlive("Width=");
    const int w = width.toLong();
    if (w < 0 || w > 32767) {
        throw invalidCall();
    }
    width_ = w;
    changed();
}

CommandBarPtr SimControl::Parent() {
    checkAlive("Parent");
    return parent_.lock();
}

ControlPtr SimControl::Copy(const CommandBarPtr& bar, const Optional& before) {
    checkAlive("Copy");
    const auto target = targetBar(bar, parent_.lock());
    if (!target || target->deleted() || target->context() != context_) {
        throw methodFailed("Copy", TypeName());
    }
    const int index = beforeIndex(before, *target);
    auto copy = clone();
    target->insert(static_cast<std::size_t>(index - 1), copy);
    return copy;
}

void SimControl::Move(const CommandBarPtr& bar, const Optional& before) {
    checkAlive("Move");
    const auto source = parent_.lock();
    const auto target = targetBar(bar, source);
    if (!target || !source || target->deleted() || target->context() != context_) {
        throw methodFailed("Move", TypeName());
    }
    if (target->isWithin(this)) {
        throw invalidCall();  // a popup cannot hold itself
    }
    const int index = beforeIndex(before, *target);
    const auto self = shared_from_this();
    std::size_t position = static_cast<std::size_t>(index - 1);
    if (target == source) {
        // Before names a place in the bar as it is now: go in front of that control, then leave the old place.
        const auto old = static_cast<std::size_t>(source->indexOf(this) - 1);
        if (position > old) {
            --position;
        }
    }
    source->remove(this);
    target->insert(position, self);
}

void SimControl::Delete(const Optional& temporary) {
    checkAlive("Delete");
    if (temporary) {
        (void)temporary->toBool();
    }
    if (protected_) {
        throw methodFailed("Delete", TypeName());
    }
    const auto self = shared_from_this();
    if (const auto bar = parent_.lock()) {
        bar->remove(this);
    }
    markDeleted();
}

std::string SimControl::defaultAction() const {
    if (!onAction_.empty()) {
        return "macro:" + onAction_;
    }
    if (builtIn_) {
        return "builtin:" + std::to_string(id_) + " " + caption_;
    }
    return {};
}

void SimControl::Execute() {
    checkAlive("Execute");
    if (!enabled_) {
        throw methodFailed("Execute", TypeName());
    }
    click();
}

void SimControl::click() {
    const auto self = shared_from_this();  // a sink may delete the control it hears
    bool cancelDefault = false;
    if (isButtonType(type_)) {
        cancelDefault = context_->clicks.fire(selfAsButton(), id_, tag_, *context_->log);
    }
    if (!cancelDefault) {
        const std::string action = defaultAction();
        if (!action.empty()) {
            context_->log->add(action);
        }
    }
}

Variant SimControl::GetProperty(std::string_view member) {
    const std::string m = folded(member);
    if (m == "index") return Index();
    if (m == "id") return Id();
    if (m == "caption") return Caption();
    if (m == "builtin") return BuiltIn();
    if (m == "begingroup") return BeginGroup();
    if (m == "type") return Type();
    if (m == "enabled") return Enabled();
    if (m == "visible") return Visible();
    if (m == "onaction") return OnAction();
    if (m == "tooltiptext") return TooltipText();
    if (m == "tag") return Tag();
    if (m == "width") return Width();
    if (m == "faceid") return FaceId();
    if (m == "style") return Style();
    if (m == "shortcuttext") return ShortcutText();
    if (m == "listcount") return ListCount();
    if (m == "text") return Text();
    // Object members (Parent, Controls, CommandBar) are reached through their typed accessors.
    throw noSuchMember();
}

void SimControl::SetProperty(std::string_view member, const Variant& value) {
    const std::string m = folded(member);
    if (m == "caption") return SetCaption(value.toString());
    if (m == "begingroup") return SetBeginGroup(value.toBool());
    if (m == "enabled") return SetEnabled(value.toBool());
    if (m == "visible") return SetVisible(value.toBool());
    if (m == "onaction") return SetOnAction(value.toString());
    if (m == "tooltiptext") return SetTooltipText(value.toString());
    if (m == "tag") return SetTag(value.toString());
    if (m == "width") return SetWidth(value);
    if (m == "faceid") return SetFaceId(value);
    if (m == "style") return SetStyle(value);
    if (m == "shortcuttext") return SetShortcutText(value.toString());
    if (m == "text") return SetText(value.toString());
    // Read-only members (Index, Id, BuiltIn, Type, ListCount) have nothing to assign, as through IDispatch.
    throw noSuchMember();
}

ButtonPtr SimControl::selfAsButton() { return std::static_pointer_cast<CommandBarButton>(shared_from_this()); }

ButtonPtr SimControl::AsButton() {
    if (!isButtonType(type_)) {
        throw typeMismatch();
    }
    return selfAsButton();
}

PopupPtr SimControl::AsPopup() {
    if (!isPopupType(type_)) {
        throw typeMismatch();
    }
    return std::static_pointer_cast<CommandBarPopup>(shared_from_this());
}

ComboBoxPtr SimControl::AsComboBox() {
    if (!isComboType(type_)) {
        throw typeMismatch();
    }
    return std::static_pointer_cast<CommandBarComboBox>(shared_from_this());
}

int SimControl::FaceId() {
    checkButtonMember("FaceId");
    return faceId_;
}

void SimControl::SetFaceId(const Variant& faceId) {
    checkButtonMember("FaceId=");
    const double value = faceId.toDouble();
    if (!(value >= 0 && value <= MaxFaceId) || std::trunc(value) != value) {
        throw invalidCall();
    }
    faceId_ = static_cast<int>(value);
    changed();
}

int SimControl::Style() {
    checkButtonMember("Style");
    return style_;
}

void SimControl::SetStyle(const Variant& style) {
    checkButtonMember("Style=");
    const int value = style.toLong();
    if (!isValidStyle(value)) {
        throw invalidCall();
    }
    style_ = value;
    changed();
}

std::string SimControl::ShortcutText() {
    checkButtonMember("ShortcutText");
    return shortcutText_;
}

void SimControl::SetShortcutText(const std::string& text) {
    checkButtonMember("ShortcutText=");
    if (onAction_.empty()) {
        throw methodFailed("ShortcutText", TypeName());
    }
    shortcutText_ = text;
    changed();
}

int SimControl::ConnectClick(ClickSink sink) {
    checkAlive("Click");
    if (!isButtonType(type_)) {
        throw typeMismatch();
    }
    if (!sink) {
        throw invalidCall();
    }
    return context_->clicks.connect(id_, tag_, std::move(sink));
}

void SimControl::DisconnectClick(int cookie) {
    // Allowed on a deleted control too: whoever hooked it must still be able to let go.
    context_->clicks.disconnect(cookie);
}

ControlsPtr SimControl::Controls() {
    checkAlive("Controls");
    if (!popupBar_) {
        throw noSuchMember();
    }
    return std::make_shared<SimControls>(popupBar_);
}

CommandBarPtr SimControl::CommandBar() {
    checkAlive("CommandBar");
    if (!popupBar_) {
        throw noSuchMember();
    }
    return popupBar_;
}

void SimControl::AddItem(const std::string& text, const Optional& index) {
    checkListMember("AddItem", true);
    if (text.empty()) {
        throw invalidCall();
    }
    const int count = static_cast<int>(items_.size());
    const int at = index && !index->isEmpty() ? index->toLong() : count + 1;
    if (at < 1 || at > count + 1) {
        throw invalidCall();
    }
    items_.insert(items_.begin() + (at - 1), text);
    changed();
}

void SimControl::RemoveItem(const Variant& index) {
    checkListMember("RemoveItem", true);
    const int at = index.toLong();
    if (at < 1 || at > static_cast<int>(items_.size())) {
        throw invalidCall();
    }
    items_.erase(items_.begin() + (at - 1));
    changed();
}

void SimControl::Clear() {
    checkListMember("Clear", true);
    items_.clear();
    text_.clear();
    changed();
}

int SimControl::ListCount() {
    checkListMember("ListCount", false);
    return static_cast<int>(items_.size());
}

std::string SimControl::List(int index) {
    checkListMember("List", false);
    if (index < 1 || index > static_cast<int>(items_.size())) {
        throw invalidCall();
    }
    return items_[static_cast<std::size_t>(index - 1)];
}

std::string SimControl::Text() {
    checkListMember("Text", false);
    return text_;
}

void SimControl::SetText(const std::string& text) {
    checkListMember("Text=", false);
    text_ = text;
    changed();
}

}  // namespace tessaline::automation::sim
