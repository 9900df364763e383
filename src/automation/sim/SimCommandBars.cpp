#include "automation/sim/SimCommandBars.h"

#include <algorithm>

#include "automation/AutomationError.h"

namespace tessaline::automation::sim {

namespace {

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isNumeric(const Variant& v) { return v.isNumber() || v.isBool(); }

// Does the control and every popup above it inside `top` show?
bool visibleChain(const std::shared_ptr<SimControl>& control) {
    for (auto c = control; c;) {
        if (!c->visible()) {
            return false;
        }
        const auto bar = c->parentBar();
        c = bar ? bar->popup() : nullptr;
    }
    return true;
}

struct Criteria {
    std::optional<int> type;
    std::optional<int> id;
    std::optional<std::string> tag;
    bool visibleOnly = false;

    Criteria(const Optional& t, const Optional& i, const Optional& g, const Optional& v) {
        if (t) {
            type = t->toLong();
        }
        if (i) {
            id = i->toLong();
        }
        if (g) {
            tag = g->toString();
        }
        visibleOnly = v && v->toBool();
    }

    bool matches(const std::shared_ptr<SimControl>& c) const {
        return (!type || c->type() == *type) && (!id || c->id() == *id) && (!tag || c->tag() == *tag) &&
               (!visibleOnly || visibleChain(c));
    }
};

// Depth first, each control before its sub items, as Office walks a bar.
std::shared_ptr<SimControl> findIn(const SimCommandBar& bar, const Criteria& criteria, bool recursive) {
    for (const auto& c : bar.items()) {
        if (criteria.matches(c)) {
            return c;
        }
        if (recursive && c->popupBar()) {
            if (auto found = findIn(*c->popupBar(), criteria, true)) {
                return found;
            }
        }
    }
    return nullptr;
}

// Places a shipped or copied control description anywhere in a host's content, for Controls.Add(Id:=n).
// With `type` given, only a description of that kind matches.
const ControlSpec* findShipped(const std::vector<ControlSpec>& controls, int id, std::optional<int> type = {}) {
    for (const auto& c : controls) {
        if (c.id == id && (!type || c.type == *type)) {
            return &c;
        }
        if (const auto* inner = findShipped(c.controls, id, type)) {
            return inner;
        }
    }
    return nullptr;
}

// The description Controls.Add(Type, Id) gives a command. A command can ship differently in two places
// (Paste as a split button on a toolbar and as a button in its menu, a shortcut text shown in menus only),
// so it comes as it ships where it is added: in this popup, then on this top-level bar, then anywhere;
// in each, of the kind asked for first.
const ControlSpec* findCommand(const SimCommandBar& target, int id, int type) {
    std::vector<const std::vector<ControlSpec>*> places;
    const SimCommandBar* bar = &target;
    while (bar != nullptr && bar->isPopupBar()) {
        const auto popup = bar->popup();
        if (popup && popup->shipped()) {
            places.push_back(&popup->shipped()->controls);
        }
        const auto above = popup ? popup->parentBar() : nullptr;
        bar = above.get();
    }
    const auto& shipped = *target.context()->shipped;
    if (bar != nullptr) {
        for (const auto& spec : shipped) {
            if (sameName(spec.name, bar->name())) {
                places.push_back(&spec.controls);
            }
        }
    }
    for (const auto& spec : shipped) {
        places.push_back(&spec.controls);
    }
    for (const std::optional<int> kind : {std::optional<int>(type), std::optional<int>()}) {
        for (const auto* place : places) {
            if (const auto* found = findShipped(*place, id, kind)) {
                return found;
            }
        }
    }
    return nullptr;
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

// ---------------------------------------------------------------------------------------------------------
// ClickHub

int ClickHub::connect(int id, std::string tag, CommandBarButton::ClickSink sink) {
    const int cookie = static_cast<int>(connections_.size()) + 1;
    cookiesByKey_[Key{id, tag}].push_back(cookie);
    connections_.push_back(
        Connection{id, std::move(tag), std::make_shared<CommandBarButton::ClickSink>(std::move(sink))});
    ++live_;
    return cookie;
}

void ClickHub::disconnect(int cookie) {
    if (cookie < 1 || cookie > static_cast<int>(connections_.size())) {
        return;
    }
    Connection& connection = connections_[static_cast<std::size_t>(cookie - 1)];
    if (!connection.sink) {
        return;
    }
    const auto keyed = cookiesByKey_.find(Key{connection.id, connection.tag});
    if (keyed != cookiesByKey_.end()) {
        auto& cookies = keyed->second;
        const auto at = std::lower_bound(cookies.begin(), cookies.end(), cookie);
        if (at != cookies.end() && *at == cookie) cookies.erase(at);
        if (cookies.empty()) {
            cookiesByKey_.erase(keyed);
        }
    }
    connection.sink.reset();
    connection.tag.clear();
    --live_;  // the slot stays, so a stale cookie never names a later connection
}

bool ClickHub::fire(const ButtonPtr& ctrl, int id, const std::string& tag, ActionLog& log) {
    const auto keyed = cookiesByKey_.find(Key{id, tag});
    if (keyed == cookiesByKey_.end()) {
        return false;
    }
    // The sinks connected when the click began; one of them may connect or disconnect others.
    const std::vector<int> due(keyed->second.begin(), keyed->second.end());
    bool cancelDefault = false;
    for (const int cookie : due) {
        // Held here so that a sink may disconnect itself while it runs.
        const auto sink = connections_[static_cast<std::size_t>(cookie - 1)].sink;
        if (!sink) {
            continue;  // disconnected by an earlier sink of this click
        }
        try {
            (*sink)(ctrl, cancelDefault);
        } catch (const std::exception& e) {
            log.add(std::string("sink-error:") + e.what());
        }
    }
    return cancelDefault;
}

// ---------------------------------------------------------------------------------------------------------
// SimCommandBars

std::shared_ptr<SimCommandBars> SimCommandBars::create(std::weak_ptr<Object> host,
                                                       std::shared_ptr<const std::vector<BarSpec>> bars,
                                                       std::shared_ptr<ActionLog> log, GatePtr gate) {
    auto context = std::make_shared<HostContext>();
    context->gate = std::move(gate);
    context->host = std::move(host);
    context->log = log ? std::move(log) : std::make_shared<ActionLog>();
    context->shipped = bars ? std::move(bars) : std::make_shared<const std::vector<BarSpec>>();
    auto result = std::shared_ptr<SimCommandBars>(new SimCommandBars(context));
    for (const auto& spec : *context->shipped) {
        result->bars_.push_back(SimCommandBar::topLevel(result, spec, true));
    }
    return result;
}

int SimCommandBars::Count() {
    context_->pass("CommandBars", "Count");
    return static_cast<int>(bars_.size());
}

CommandBarPtr SimCommandBars::Item(const Variant& indexOrName) {
    context_->pass("CommandBars", "Item");
    if (isNumeric(indexOrName)) {
        const int index = indexOrName.toLong();
        if (index < 1 || index > static_cast<int>(bars_.size())) {
            throw invalidCall();
        }
        return bars_[static_cast<std::size_t>(index - 1)];
    }
    if (auto bar = findByName(indexOrName.toString())) {
        return bar;
    }
    throw invalidCall();
}

std::shared_ptr<SimCommandBar> SimCommandBars::findByName(std::string_view name) const {
    for (const auto& bar : bars_) {
        if (sameName(bar->name(), name)) {
            return bar;
        }
    }
    return nullptr;
}

std::optional<std::uint64_t> SimCommandBars::changeCount(CommandBar& bar) const {
    const auto* sim = dynamic_cast<const SimCommandBar*>(&bar);
    if (sim == nullptr || sim->context() != context_ || sim->isPopupBar()) return std::nullopt;
    return sim->changeCount();
}

std::vector<CommandBarPtr> SimCommandBars::Enumerate() {
    context_->pass("CommandBars", "_NewEnum");
    return {bars_.begin(), bars_.end()};
}

CommandBarPtr SimCommandBars::Add(const Optional& name, const Optional& position, const Optional& menuBar,
                                  const Optional& temporary) {
    context_->pass("CommandBars", "Add");
    const int pos = position && !position->isEmpty() ? position->toLong() : mso::BarFloating;
    if (pos < mso::BarLeft || pos > mso::BarPopup) {
        throw invalidCall();
    }
    const bool isMenuBar = menuBar && menuBar->toBool();
    const bool isTemporary = temporary && temporary->toBool();
    if (isMenuBar && pos == mso::BarPopup) {
        throw invalidCall();  // a bar cannot be a menu bar and a shortcut menu at once
    }
    std::string barName = name ? name->toString() : std::string();
    if (barName.empty()) {
        for (int n = 1;; ++n) {
            barName = "Custom " + std::to_string(n);
            if (!findByName(barName)) {
                break;
            }
        }
    } else if (findByName(barName)) {
        throw invalidCall();
    }
    BarSpec spec;
    spec.name = barName;
    spec.nameLocal = barName;
    spec.type = pos == mso::BarPopup ? mso::BarTypePopup : (isMenuBar ? mso::BarTypeMenuBar : mso::BarTypeNormal);
    spec.position = pos;
    spec.visible = false;
    spec.enabled = true;
    auto bar = SimCommandBar::topLevel(shared_from_this(), spec, false);
    if (isTemporary) {
        bar->markTemporary();
    }
    bars_.push_back(bar);
    positionsValid_ = false;
    ++context_->changes;
    return bar;
}

ControlPtr SimCommandBars::FindControl(const Optional& type, const Optional& id, const Optional& tag,
                                       const Optional& visible) {
    context_->pass("CommandBars", "FindControl");
    const Criteria criteria(type, id, tag, visible);
    for (const auto& bar : bars_) {
        if (criteria.visibleOnly && !bar->visible()) {
            continue;
        }
        if (auto found = findIn(*bar, criteria, true)) {
            return found;
        }
    }
    return nullptr;
}

namespace {

// 1-based position of `member` in `items`, from a map rebuilt only after the collection changed.
template <typename T>
int cachedPosition(const std::vector<std::shared_ptr<T>>& items, const T* member,
                   std::unordered_map<const T*, int>& positions, bool& valid) {
    if (!valid) {
        positions.clear();
        positions.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            positions.emplace(items[i].get(), static_cast<int>(i + 1));
        }
        valid = true;
    }
    const auto found = positions.find(member);
    return found == positions.end() ? 0 : found->second;
}

}  // namespace

int SimCommandBars::indexOf(const SimCommandBar* bar) const {
    return cachedPosition(bars_, bar, positions_, positionsValid_);
}

void SimCommandBars::removeBar(const SimCommandBar* bar) {
    std::erase_if(bars_, [bar](const auto& b) { return b.get() == bar; });
    positionsValid_ = false;
    ++context_->changes;
}

// ---------------------------------------------------------------------------------------------------------
// SimCommandBar

std::shared_ptr<SimCommandBar> SimCommandBar::topLevel(const std::shared_ptr<SimCommandBars>& owner,
                                                       const BarSpec& spec, bool builtIn) {
    auto bar = std::shared_ptr<SimCommandBar>(new SimCommandBar(owner->context()));
    bar->owner_ = owner;
    bar->builtIn_ = builtIn;
    if (builtIn) {
        const auto& all = owner->context()->shipped;
        const bool inContent = all && !all->empty() && &spec >= all->data() && &spec < all->data() + all->size();
        bar->shipped_ = inContent ? std::shared_ptr<const BarSpec>(all, &spec) : std::make_shared<const BarSpec>(spec);
    }
    bar->name_ = spec.name;
    bar->nameLocal_ = spec.nameLocal;
    bar->type_ = spec.type;
    bar->position_ = spec.position;
    bar->visible_ = spec.visible;
    bar->enabled_ = spec.enabled;
    bar->width_ = spec.width;
    if (bar->shipped_) {
        bar->populate(bar->shipped_->controls, bar->shipped_);
    } else {
        bar->populate(spec.controls, nullptr);
    }
    return bar;
}

std::shared_ptr<SimCommandBar> SimCommandBar::ofPopup(const std::shared_ptr<SimControl>& popup) {
    auto bar = std::shared_ptr<SimCommandBar>(new SimCommandBar(popup->context_));
    bar->popup_ = popup;
    bar->isPopupBar_ = true;
    bar->type_ = mso::BarTypePopup;
    bar->position_ = mso::BarPopup;
    return bar;
}

void SimCommandBar::populate(const std::vector<ControlSpec>& specs, const std::shared_ptr<const void>& keeper) {
    for (const auto& spec : specs) {
        auto control = SimControl::fromSpec(context_, spec, true, keeper);
        insert(controls_.size(), control);
    }
}

void SimCommandBar::checkAlive(const char* member, const char* type) const {
    context_->pass(type, member);
    if (deleted_) {
        throw methodFailed(memberText(member), "CommandBar");
    }
}

int SimCommandBar::Index() {
    checkAlive("Index");
    if (isPopupBar_) {
        return 0;  // a popup's bar is not a member of the CommandBars collection
    }
    const auto owner = owner_.lock();
    return owner ? owner->indexOf(this) : 0;
}

std::string SimCommandBar::Name() {
    checkAlive("Name");
    if (isPopupBar_) {
        const auto p = popup_.lock();
        return p ? p->Caption() : std::string();
    }
    return name_;
}

void SimCommandBar::SetName(const std::string& name) {
    checkAlive("Name=");
    if (builtIn_ || isPopupBar_) {
        throw methodFailed("Name", "CommandBar");
    }
    if (name.empty()) {
        throw invalidCall();
    }
    name_ = name;
    changed();
}

std::string SimCommandBar::NameLocal() {
    checkAlive("NameLocal");
    return isPopupBar_ ? Name() : nameLocal_;
}

void SimCommandBar::SetNameLocal(const std::string& name) {
    checkAlive("NameLocal=");
    if (builtIn_ || isPopupBar_) {
        throw methodFailed("NameLocal", "CommandBar");
    }
    if (name.empty()) {
        throw invalidCall();
    }
    nameLocal_ = name;
    changed();
}

bool SimCommandBar::BuiltIn() {
    checkAlive("BuiltIn");
    if (isPopupBar_) {
        const auto p = popup_.lock();
        return p && p->builtIn();
    }
    return builtIn_;
}

int SimCommandBar::Type() {
    checkAlive("Type");
    return type_;
}

bool SimCommandBar::Enabled() {
    checkAlive("Enabled");
    return enabled_;
}

void SimCommandBar::SetEnabled(bool enabled) {
    checkAlive("Enabled=");
    enabled_ = enabled;
    if (!enabled) {
        visible_ = false;  // a disabled bar cannot stay on screen
    }
    changed();
}

bool SimCommandBar::Visible() {
    checkAlive("Visible");
    return visible_;
}

void SimCommandBar::SetVisible(bool visible) {
    checkAlive("Visible=");
    if (visible && (type_ == mso::BarTypePopup || !enabled_)) {
        throw methodFailed("Visible", "CommandBar");
    }
    visible_ = visible;
    changed();
}

int SimCommandBar::Position() {
    checkAlive("Position");
    return position_;
}

void SimCommandBar::SetPosition(const Variant& position) {
    checkAlive("Position=");
    const int pos = position.toLong();
    if (pos < mso::BarLeft || pos > mso::BarPopup) {
        throw invalidCall();
    }
    // A shortcut menu only pops up, and nothing else can become one after creation.
    if (type_ == mso::BarTypePopup || pos == mso::BarPopup) {
        if (type_ == mso::BarTypePopup && pos == mso::BarPopup) {
            return;
        }
        throw methodFailed("Position", "CommandBar");
    }
    position_ = pos;
    changed();
}

int SimCommandBar::Width() {
    checkAlive("Width");
    if (width_) {
        return *width_;
    }
    const bool vertical = position_ == mso::BarLeft || position_ == mso::BarRight || type_ == mso::BarTypePopup;
    int width = 0;
    for (const auto& c : controls_) {
        if (!c->visible()) {
            continue;
        }
        width = vertical ? std::max(width, c->width()) : width + c->width();
    }
    return width + (vertical ? 6 : 10);
}

void SimCommandBar::SetWidth(const Variant& width) {
    checkAlive("Width=");
    const int w = width.toLong();
    if (w < 0 || w > 32767) {
        throw invalidCall();
    }
    width_ = w;
    changed();
}

int SimCommandBar::Height() {
    checkAlive("Height");
    const bool vertical = position_ == mso::BarLeft || position_ == mso::BarRight || type_ == mso::BarTypePopup;
    if (!vertical) {
        return 26;
    }
    int visible = 0;
    for (const auto& c : controls_) {
        visible += c->visible() ? 1 : 0;
    }
    return 6 + 22 * visible;
}

ControlsPtr SimCommandBar::Controls() {
    checkAlive("Controls");
    return std::make_shared<SimControls>(shared_from_this());
}

ObjectPtr SimCommandBar::Parent() {
    checkAlive("Parent");
    if (isPopupBar_) {
        return std::static_pointer_cast<CommandBarButton>(popup_.lock());
    }
    return context_->host.lock();
}

void SimCommandBar::Delete() {
    checkAlive("Delete");
    if (builtIn_ || isPopupBar_) {
        throw methodFailed("Delete", "CommandBar");
    }
    const auto keepAlive = shared_from_this();
    if (const auto owner = owner_.lock()) {
        owner->removeBar(this);
    }
    markDeleted();
}

void SimCommandBar::Reset() {
    checkAlive("Reset");
    if (isPopupBar_) {
        const auto p = popup_.lock();
        if (!p || !p->builtIn() || !p->shipped()) {
            throw methodFailed("Reset", "CommandBar");
        }
        clearControls();
        populate(p->shipped()->controls, p->shipped());
        return;
    }
    if (!builtIn_ || !shipped_) {
        throw methodFailed("Reset", "CommandBar");
    }
    clearControls();
    nameLocal_ = shipped_->nameLocal;
    position_ = shipped_->position;
    visible_ = shipped_->visible;
    enabled_ = shipped_->enabled;
    width_ = shipped_->width;
    changed();
    populate(shipped_->controls, shipped_);
}

ControlPtr SimCommandBar::FindControl(const Optional& type, const Optional& id, const Optional& tag,
                                      const Optional& visible, const Optional& recursive) {
    checkAlive("FindControl");
    const Criteria criteria(type, id, tag, visible);
    return findIn(*this, criteria, recursive && recursive->toBool());
}

std::shared_ptr<SimControl> SimCommandBar::item(int oneBasedIndex) const {
    if (oneBasedIndex < 1 || oneBasedIndex > static_cast<int>(controls_.size())) {
        return nullptr;
    }
    return controls_[static_cast<std::size_t>(oneBasedIndex - 1)];
}

int SimCommandBar::indexOf(const SimControl* control) const {
    return cachedPosition(controls_, control, positions_, positionsValid_);
}

void SimCommandBar::insert(std::size_t zeroBasedPos, std::shared_ptr<SimControl> control) {
    control->setParentBar(shared_from_this());
    controls_.insert(controls_.begin() + static_cast<std::ptrdiff_t>(std::min(zeroBasedPos, controls_.size())),
                     std::move(control));
    positionsValid_ = false;
    changed();
}

void SimCommandBar::remove(const SimControl* control) {
    std::erase_if(controls_, [control](const auto& c) { return c.get() == control; });
    positionsValid_ = false;
    changed();
}

void SimCommandBar::changed() {
    ++changes_;
    ++context_->changes;
    if (const auto above = popup_.lock()) above->changed();
}

void SimCommandBar::clearControls() {
    for (const auto& c : controls_) {
        c->markDeleted();
    }
    controls_.clear();
    positionsValid_ = false;
    changed();
}

void SimCommandBar::markDeleted() {
    deleted_ = true;
    clearControls();
}

bool SimCommandBar::isWithin(const SimControl* control) const {
    for (auto p = popup_.lock(); p;) {
        if (p.get() == control) {
            return true;
        }
        const auto bar = p->parentBar();
        p = bar ? bar->popup() : nullptr;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// SimControls

int SimControls::Count() {
    bar_->checkAlive("Count", "CommandBarControls");
    return static_cast<int>(bar_->items().size());
}

ControlPtr SimControls::Item(const Variant& indexOrCaption) {
    bar_->checkAlive("Item", "CommandBarControls");
    if (isNumeric(indexOrCaption)) {
        if (auto c = bar_->item(indexOrCaption.toLong())) {
            return c;
        }
        throw invalidCall();
    }
    // Captions match ignoring case and accelerator marks, so "File" finds "&File".
    const auto plain = [](std::string_view text) {
        std::string out;
        for (const char c : text) {
            if (c != '&') {
                out += foldAscii(c);
            }
        }
        return out;
    };
    const std::string wanted = plain(indexOrCaption.toString());
    for (const auto& c : bar_->items()) {
        if (plain(c->caption()) == wanted) {
            return c;
        }
    }
    throw invalidCall();
}

std::vector<ControlPtr> SimControls::Enumerate() {
    bar_->context()->pass("CommandBarControls", "_NewEnum");
    if (bar_->deleted()) {
        throw methodFailed("Controls", "CommandBar");
    }
    return {bar_->items().begin(), bar_->items().end()};
}

ControlPtr SimControls::Add(const Optional& type, const Optional& id, const Optional& parameter, const Optional& before,
                            const Optional& temporary) {
    bar_->checkAlive("Add", "CommandBarControls");
    const int controlType = type ? type->toLong() : mso::ControlButton;
    static constexpr int creatable[] = {1, 2, 3, 4, 10, 12, 13};
    if (std::find(std::begin(creatable), std::end(creatable), controlType) == std::end(creatable)) {
        throw invalidCall();
    }
    const int controlId = id && !id->isEmpty() ? id->toLong() : 1;
    const int count = static_cast<int>(bar_->items().size());
    const int beforeIndex = before && !before->isEmpty() ? before->toLong() : count + 1;
    if (beforeIndex < 1 || beforeIndex > count + 1) {
        throw invalidCall();
    }
    if (parameter) {
        (void)parameter->toString();
    }
    const bool isTemporary = temporary && temporary->toBool();

    std::shared_ptr<SimControl> control;
    if (controlId > 1) {
        // A built-in command: the host knows it from its own bars.
        const ControlSpec* shipped = findCommand(*bar_, controlId, controlType);
        if (!shipped) {
            throw invalidCall();
        }
        ControlSpec spec = *shipped;
        spec.visible = true;
        control = SimControl::fromSpec(bar_->context(), spec, true);
    } else if (controlId < 0) {
        throw invalidCall();
    } else {
        ControlSpec spec;
        spec.type = controlType;
        spec.id = 1;
        control = SimControl::fromSpec(bar_->context(), spec, false);
    }
    if (isTemporary) {
        control->markTemporary();
    }
    bar_->insert(static_cast<std::size_t>(beforeIndex - 1), control);
    return control;
}

}  // namespace tessaline::automation::sim
