#include "automation/sim/KeptBars.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <unordered_map>

#include "automation/FilePath.h"
#include "automation/sim/SimCommandBars.h"

namespace tessaline::automation::sim {

namespace {

using Json = nlohmann::ordered_json;

// At most MaxContentText characters of UTF-8 text, cut between characters.
std::string fitted(const std::string& text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > MaxContentText) {
            return text.substr(0, i);
        }
    }
    return text;
}

int fittedWidth(int width) { return std::clamp(width, 0, 10000); }

// Built-in controls found again by Id and type, then by Id alone, as the content first ships them.
class ShippedIndex {
public:
    explicit ShippedIndex(const std::shared_ptr<const std::vector<BarSpec>>& shipped) : shipped_(shipped) {
        if (!shipped_) return;
        for (const auto& bar : *shipped_) add(bar.controls);
    }

    std::shared_ptr<const ControlSpec> find(int id, int type) const {
        const ControlSpec* spec = nullptr;
        if (const auto exact = byIdAndType_.find(key(id, type)); exact != byIdAndType_.end()) {
            spec = exact->second;
        } else if (const auto any = byId_.find(id); any != byId_.end()) {
            spec = any->second;
        }
        return spec ? std::shared_ptr<const ControlSpec>(shipped_, spec) : nullptr;
    }

private:
    static long long key(int id, int type) { return static_cast<long long>(id) * 64 + type; }

    void add(const std::vector<ControlSpec>& controls) {
        for (const auto& c : controls) {
            byIdAndType_.emplace(key(c.id, c.type), &c);
            byId_.emplace(c.id, &c);
            add(c.controls);
        }
    }

    std::shared_ptr<const std::vector<BarSpec>> shipped_;
    std::unordered_map<long long, const ControlSpec*> byIdAndType_;
    std::unordered_map<int, const ControlSpec*> byId_;
};

}  // namespace

// ----- snapshot -----

// Written as the shipped files are: what differs from the defaults only.
class KeptBars::Writer {
public:
    static Json controls(const std::vector<std::shared_ptr<SimControl>>& controls) {
        Json list = Json::array();
        for (const auto& c : controls) {
            if (!c->temporary_) list.push_back(control(*c));
        }
        return list;
    }

    static Json control(const SimControl& c) {
        Json j = Json::object();
        if (c.type_ != 1) j["type"] = c.type_;
        j["id"] = c.id_;
        if (!c.caption_.empty()) j["caption"] = fitted(c.caption_);
        if (c.faceId_ != 0) j["faceId"] = c.faceId_;
        if (c.style_ != 0) j["style"] = c.style_;
        if (!c.shortcutText_.empty()) j["shortcutText"] = fitted(c.shortcutText_);
        if (c.beginGroup_) j["beginGroup"] = true;
        if (!c.enabled_) j["enabled"] = false;
        if (!c.visible_) j["visible"] = false;
        if (c.protected_) j["protected"] = true;
        if (!c.tooltipText_.empty()) j["tooltipText"] = fitted(c.tooltipText_);
        if (!c.onAction_.empty()) j["onAction"] = fitted(c.onAction_);
        if (!c.tag_.empty()) j["tag"] = fitted(c.tag_);
        if (c.width_) j["width"] = fittedWidth(*c.width_);
        if (!c.items_.empty() && isComboType(c.type_)) {
            Json items = Json::array();
            for (const auto& item : c.items_) items.push_back(fitted(item));
            j["items"] = std::move(items);
        }
        if (!c.text_.empty()) j["text"] = fitted(c.text_);
        if (!c.builtIn_) j["builtIn"] = false;
        if (c.popupBar_ && !c.popupBar_->controls_.empty()) j["controls"] = controls(c.popupBar_->controls_);
        return j;
    }

    static Json bar(const SimCommandBar& b) {
        Json j = Json::object();
        j["name"] = fitted(b.name_);
        if (b.nameLocal_ != b.name_) j["nameLocal"] = fitted(b.nameLocal_);
        j["type"] = b.type_;
        j["position"] = b.position_;
        if (b.visible_) j["visible"] = true;
        if (!b.enabled_) j["enabled"] = false;
        if (b.width_) j["width"] = fittedWidth(*b.width_);
        if (!b.builtIn_) j["builtIn"] = false;
        j["controls"] = controls(b.controls_);
        return j;
    }
};

std::string KeptBars::snapshot(const SimCommandBars& bars, const std::string& applicationName) {
    Json document = Json::object();
    document["application"] = Json{{"name", fitted(applicationName)}};
    Json list = Json::array();
    for (const auto& bar : bars.bars_) {
        if (!bar->temporary_) list.push_back(Writer::bar(*bar));
    }
    document["commandBars"] = std::move(list);
    return document.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

// ----- restore -----

class KeptBars::Builder {
public:
    explicit Builder(const std::shared_ptr<SimCommandBars>& owner)
        : owner_(owner), context_(owner->context()), index_(context_->shipped) {}

    std::shared_ptr<SimCommandBar> bar(const BarSpec& kept, const BarSpec* shipped) {
        auto b = std::shared_ptr<SimCommandBar>(new SimCommandBar(context_));
        b->owner_ = owner_;
        b->builtIn_ = shipped != nullptr;
        if (shipped) b->shipped_ = std::shared_ptr<const BarSpec>(context_->shipped, shipped);
        b->name_ = shipped ? shipped->name : kept.name;  // a built-in bar's name is the host's
        b->nameLocal_ = kept.nameLocal;
        b->type_ = kept.type;
        b->position_ = kept.position;
        b->visible_ = kept.visible && kept.enabled;
        b->enabled_ = kept.enabled;
        b->width_ = kept.width;
        for (const auto& spec : kept.controls) b->insert(b->controls_.size(), control(spec));
        return b;
    }

    std::shared_ptr<SimControl> control(const ControlSpec& spec) {
        auto c = std::shared_ptr<SimControl>(new SimControl(context_));
        c->type_ = spec.type;
        c->id_ = spec.id;
        c->caption_ = spec.caption;
        c->builtIn_ = spec.builtIn;
        c->beginGroup_ = spec.beginGroup;
        c->enabled_ = spec.enabled;
        c->visible_ = spec.visible;
        c->protected_ = spec.isProtected;
        c->onAction_ = spec.onAction;
        c->tooltipText_ = spec.tooltipText;
        c->tag_ = spec.tag;
        c->width_ = spec.width;
        c->faceId_ = spec.faceId;
        c->style_ = spec.style;
        c->shortcutText_ = spec.shortcutText;
        c->items_ = spec.items;
        c->text_ = spec.text;
        // A control of the host's own (custom ones all have Id 1) finds its command again, for a Reset of its
        // popup and for Controls.Add of the same Id, even when its macro made it no longer built-in.
        if (spec.id > 1) c->shipped_ = index_.find(spec.id, spec.type);
        if (isPopupType(spec.type)) {
            c->popupBar_ = SimCommandBar::ofPopup(c);
            for (const auto& child : spec.controls)
                c->popupBar_->insert(c->popupBar_->controls_.size(), control(child));
        }
        return c;
    }

private:
    std::shared_ptr<SimCommandBars> owner_;
    std::shared_ptr<HostContext> context_;
    ShippedIndex index_;
};

void KeptBars::restore(SimCommandBars& bars, const std::vector<BarSpec>& kept) {
    const auto owner = bars.shared_from_this();
    const std::vector<BarSpec> none;
    const auto& shipped = bars.context_->shipped ? *bars.context_->shipped : none;
    Builder builder(owner);
    std::vector<bool> matched(shipped.size(), false);
    std::vector<std::shared_ptr<SimCommandBar>> result;
    for (const auto& spec : kept) {
        if (!spec.builtIn) {
            result.push_back(builder.bar(spec, nullptr));
            continue;
        }
        for (std::size_t i = 0; i < shipped.size(); ++i) {
            if (!matched[i] && sameName(shipped[i].name, spec.name)) {
                matched[i] = true;
                // A bar that changed its kind since it was kept comes as it ships now.
                result.push_back(shipped[i].type == spec.type ? builder.bar(spec, &shipped[i])
                                                              : SimCommandBar::topLevel(owner, shipped[i], true));
                break;
            }
        }
    }
    for (std::size_t i = 0; i < shipped.size(); ++i) {
        if (!matched[i]) result.push_back(SimCommandBar::topLevel(owner, shipped[i], true));
    }
    for (const auto& old : bars.bars_) old->markDeleted();
    bars.bars_ = std::move(result);
    bars.positionsValid_ = false;
    ++bars.context_->changes;
}

void KeptBars::resetToShipped(SimCommandBars& bars) {
    const auto owner = bars.shared_from_this();
    std::vector<std::shared_ptr<SimCommandBar>> result;
    if (bars.context_->shipped) {
        for (const auto& spec : *bars.context_->shipped) result.push_back(SimCommandBar::topLevel(owner, spec, true));
    }
    for (const auto& old : bars.bars_) old->markDeleted();
    bars.bars_ = std::move(result);
    bars.positionsValid_ = false;
    ++bars.context_->changes;
}

// ----- files -----

void KeptBars::writeAtomically(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        throw std::runtime_error("the folder " + pathText(path.parent_path()) + " cannot be made (" + error.message() +
                                 ")");
    }
    std::filesystem::path temporary = path;
    temporary += ".tmp~";
    std::error_code ignored;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error("the file " + pathText(temporary) + " cannot be created");
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, ignored);
            throw std::runtime_error("the file " + pathText(temporary) + " cannot be written (is the disk full?)");
        }
    }
    // std::filesystem::rename replaces the old file on Windows too, where std::rename refuses to.
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("the file cannot be replaced (" + error.message() + ")");
    }
}

// ----- BarKeeper -----

void BarKeeper::restore(const std::string& hostKey, const std::string& contentFile, const HostContent& content,
                        SimCommandBars& bars) {
    const std::filesystem::path file = fileOf(contentFile);
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return;
    try {
        const HostContent kept = readHostFile(pathText(file));
        KeptBars::restore(bars, *kept.bars);
        written_[hostKey] = KeptBars::snapshot(bars, content.name);
        seen(hostKey, bars);
        return;
    } catch (const std::exception& e) {
        std::filesystem::path aside = file;
        aside += ".damaged";
        std::filesystem::rename(file, aside, error);
        std::string problem = "The kept command bars of " + hostKey + " cannot be read: " + e.what() + ". ";
        if (error) {
            problem += "The file could not be set aside (" + error.message() + "); ";
        } else {
            problem += "The file was set aside as " + pathText(aside.filename()) + "; ";
        }
        problems_.push_back(problem + hostKey + " starts from its shipped bars.");
    }
}

const std::string& BarKeeper::shippedSnapshot(const std::string& hostKey, const HostContent& content) {
    auto found = shipped_.find(hostKey);
    if (found == shipped_.end()) {
        const auto fresh = SimCommandBars::create({}, content.bars, nullptr);
        found = shipped_.emplace(hostKey, KeptBars::snapshot(*fresh, content.name)).first;
    }
    return found->second;
}

void BarKeeper::seen(const std::string& hostKey, const SimCommandBars& bars) {
    seen_[hostKey] = Seen{bars.context(), bars.changeCount()};
}

void BarKeeper::keep(const std::string& hostKey, const std::string& contentFile, const HostContent& content,
                     const SimCommandBars& bars) {
    // The host counts every change of its bars: bars that did not change since are not even read.
    if (const auto last = seen_.find(hostKey); last != seen_.end()) {
        const auto context = last->second.context.lock();
        if (context == bars.context() && last->second.changes == bars.changeCount()) return;
    }
    seen(hostKey, bars);
    const std::string now = KeptBars::snapshot(bars, content.name);
    const auto known = written_.find(hostKey);
    if (known != written_.end() && known->second == now) return;
    const std::filesystem::path file = fileOf(contentFile);
    try {
        if (now == shippedSnapshot(hostKey, content)) {
            std::error_code error;
            std::filesystem::remove(file, error);
            if (error) throw std::runtime_error("the file cannot be removed (" + error.message() + ")");
        } else {
            // Read back before it replaces anything: a file the next start would refuse is not written.
            (void)hostFromJson(parseJsonText(now, pathText(file)), pathText(file));
            KeptBars::writeAtomically(file, now);
        }
        written_[hostKey] = now;
    } catch (const std::exception& e) {
        problems_.push_back("The command bars of " + hostKey + " cannot be kept in " + pathText(file) + ": " +
                            e.what() + ".");
        written_[hostKey] = now;  // said once, not at every later attempt with the same bars
    }
}

void BarKeeper::reset(const std::string& hostKey, const std::string& contentFile, SimCommandBars& bars) {
    KeptBars::resetToShipped(bars);
    written_.erase(hostKey);
    seen_.erase(hostKey);
    std::error_code error;
    const std::filesystem::path file = fileOf(contentFile);
    std::filesystem::remove(file, error);
    if (error) {
        problems_.push_back("The kept command bars of " + hostKey + " in " + pathText(file) + " cannot be removed (" +
                            error.message() + ").");
    }
}

std::vector<std::string> BarKeeper::takeProblems() {
    std::vector<std::string> taken;
    taken.swap(problems_);
    return taken;
}

}  // namespace tessaline::automation::sim
