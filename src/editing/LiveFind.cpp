#include "editing/LiveFind.h"

#include <algorithm>
#include <cctype>

#include "automation/AutomationError.h"
#include "automation/VbRuntime.h"
#include "editing/BarSnapshot.h"
#include "shell/CommandbarGrid.h"
#include "shell/ControlGrid.h"
#include "shell/ErrorModes.h"
#include "shell/Form1.h"

namespace tessaline::editing {

namespace {

constexpr const char* kInputTitle = "对话框";

bool startsWith(const std::string& text, const char* prefix, std::string& rest) {
    const std::string p(prefix);
    if (text.size() < p.size()) return false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != p[i]) return false;
    }
    rest = text.substr(p.size());
    return true;
}

int numberOf(const std::string& text) {
    if (text.empty() || text.size() > 9) throw automation::invalidCall();
    for (char ch : text) {
        if (std::isdigit(static_cast<unsigned char>(ch)) == 0) throw automation::invalidCall();
    }
    return std::stoi(text);
}

std::string withoutAmpersand(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        // "&&" stands for one "&" shown.
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (caption[i] != '&') {
            out += caption[i];
        }
    }
    return out;
}

bool matches(const ControlSnapshot& c, const FindKey& key) {
    switch (key.kind) {
        case FindKey::Kind::Id:
            return c.id == key.number;
        case FindKey::Kind::FaceId:
            return c.faceId && *c.faceId == key.number;
        case FindKey::Kind::Macro:
            return !c.onAction.empty() && automation::vb::Like(c.onAction, key.text);
        case FindKey::Kind::Caption: {
            const std::string pattern = "*" + key.text + "*";
            return automation::vb::Like(c.caption, pattern) || automation::vb::Like(withoutAmpersand(c.caption), pattern);
        }
    }
    return false;
}

void walk(const std::vector<ControlSnapshot>& controls, const FindKey& key, FoundControl& where,
          std::vector<FoundControl>& out) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlSnapshot& c = controls[i];
        where.path.push_back(static_cast<int>(i + 1));
        where.captions.push_back(c.caption);
        if (matches(c, key)) {
            FoundControl found = where;
            found.id = c.id;
            found.caption = c.caption;
            out.push_back(std::move(found));
        }
        walk(c.controls, key, where, out);
        where.path.pop_back();
        where.captions.pop_back();
    }
}

}  // namespace

FindKey parseFindKey(const std::string& typed) {
    FindKey key;
    std::string rest;
    if (startsWith(typed, "id:", rest)) {
        key.kind = FindKey::Kind::Id;
        key.number = numberOf(rest);
    } else if (startsWith(typed, "face:", rest) || startsWith(typed, "faceid:", rest)) {
        key.kind = FindKey::Kind::FaceId;
        key.number = numberOf(rest);
    } else if (startsWith(typed, "macro:", rest) || startsWith(typed, "onaction:", rest)) {
        key.kind = FindKey::Kind::Macro;
        key.text = rest;
    } else if (startsWith(typed, "caption:", rest)) {
        key.text = rest;
    } else if (!typed.empty() && std::isdigit(static_cast<unsigned char>(typed[0])) != 0) {
        key.kind = FindKey::Kind::Id;
        key.number = numberOf(typed);
    } else {
        key.text = typed;
    }
    if (key.kind != FindKey::Kind::Id && key.kind != FindKey::Kind::FaceId && key.text.empty()) {
        throw automation::invalidCall();
    }
    if (key.kind != FindKey::Kind::Id && key.kind != FindKey::Kind::FaceId) {
        (void)automation::vb::Like("", key.text);  // a bad pattern is refused before the walk
    }
    return key;
}

std::vector<FoundControl> findLiveControls(automation::CommandBars& bars, const FindKey& key) {
    std::vector<FoundControl> out;
    int index = 0;
    for (const automation::CommandBarPtr& bar : bars.Enumerate()) {
        ++index;
        FoundControl where;
        where.barName = bar->Name();
        where.barIndex = index;
        walk(snapshotControls(*bar->Controls()), key, where, out);
    }
    return out;
}

std::string IndexPath(const std::vector<int>& path) {
    std::string text;
    for (int step : path) text += (text.empty() ? "" : ".") + std::to_string(step);
    return text;
}

std::string FoundLine(const FoundControl& found) {
    std::string captions;
    for (const std::string& caption : found.captions) captions += (captions.empty() ? "" : " > ") + caption;
    return found.barName + " | " + captions + " | " + IndexPath(found.path) + " | " + std::to_string(found.id) +
           " | " + found.caption;
}

void LiveFind::find() {
    const std::string typed =
        form_.ui().InputBox("查找当前宿主的控件: ID, face:FaceId, macro:宏名 (可用通配符), 或标题", kInputTitle);
    if (typed.empty()) return;
    shell::report(form_, [&] {
        const FindKey key = parseFindKey(typed);
        results_ = findLiveControls(*form_.HostCommandBars(), key);
        host_ = form_.HostApp;
        shell::ListBox& list = form_.FoundControls;
        list.Clear();
        int widest = 0;
        for (const FoundControl& found : results_) {
            list.AddItem(FoundLine(found));
            widest = std::max(widest, static_cast<int>(FoundLine(found).size()));
        }
        // Long lines scroll sideways (UTF-8 bytes stand in for the width of the Chinese text).
        list.SetHorizontalExtent(widest * 5);
        list.SetVisible(true);
        form_.StatusBar1.SetPanelText(6, "找到 " + std::to_string(results_.size()) + " 个控件");
    });
}

automation::ControlPtr LiveFind::resolve(const FoundControl& found) {
    if (!form_.HostApp || host_.lock() != form_.HostApp) throw automation::AutomationError(5, "查找结果属于另一个宿主");
    automation::CommandBarPtr bar = form_.HostCommandBars()->Item(found.barIndex);
    if (bar->Name() != found.barName) throw automation::AutomationError(5, "工具栏已改变,请重新查找");
    automation::ControlsPtr controls = bar->Controls();
    automation::ControlPtr control;
    for (std::size_t i = 0; i < found.path.size(); ++i) {
        control = controls->Item(found.path[i]);
        if (i + 1 < found.path.size()) controls = control->AsPopup()->Controls();
    }
    if (control->Id() != found.id || control->Caption() != found.caption) {
        throw automation::AutomationError(5, "控件已改变,请重新查找");
    }
    return control;
}

void LiveFind::choose() {
    const int index = form_.FoundControls.ListIndex();
    // The list may show a comparison of recordings instead of this find's results.
    if (index < 0 || index >= static_cast<int>(results_.size())) return;
    const FoundControl& found = results_[static_cast<std::size_t>(index)];
    if (form_.FoundControls.List(index) != FoundLine(found)) return;
    shell::report(form_, [&] {
        resolve(found);
        // The bar's row in the bar grid, which lists the bars in collection order.
        shell::FlexGrid& bars = form_.ListAllCommandbars;
        int row = found.barIndex < bars.Rows() && bars.TextMatrix(found.barIndex, 1) == found.barName ? found.barIndex : 0;
        for (int r = 1; row == 0 && r < bars.Rows(); ++r) {
            if (bars.TextMatrix(r, 1) == found.barName) row = r;
        }
        if (row == 0) {
            shell::ListCommandbars(form_);
            row = found.barIndex;
        }
        bars.SetRow(row);
        bars.SetCol(1);
        shell::ListAllCommandbars_Click(form_);
        form_.CurrentBar = form_.HostCommandBars()->Item(found.barIndex);
        shell::FlexGrid& grid = form_.ListAllCommandControls;
        if (found.path.size() > 1) {
            // The popup that holds the control, at any depth, listed as "打开子项" lists one.
            automation::ControlsPtr controls = form_.CurrentBar->Controls();
            automation::ControlPtr popup;
            for (std::size_t i = 0; i + 1 < found.path.size(); ++i) {
                popup = controls->Item(found.path[i]);
                controls = popup->AsPopup()->Controls();
            }
            form_.CurrentPopup = popup->AsPopup();
            grid.Clear();
            grid.SetRows(1);
            form_.RowCounter = 1;
            shell::SetControlGridHeaders(form_);
            form_.StatusBar1.SetPanelText(3, form_.CurrentPopup->Caption());
            shell::ListControls(form_, *controls);
            form_.CurrentControl = nullptr;
        }
        grid.SetRow(found.path.back());
        grid.SetCol(2);
    });
}

void LiveFind::runFound() {
    const int index = form_.FoundControls.ListIndex();
    if (index < 0 || index >= static_cast<int>(results_.size()) ||
        form_.FoundControls.List(index) != FoundLine(results_[static_cast<std::size_t>(index)])) {
        form_.StatusBar1.SetPanelText(6, "未选择查找结果");
        return;
    }
    shell::report(form_, [&] { resolve(results_[static_cast<std::size_t>(index)])->Execute(); });
}

void LiveFind::hide() { form_.FoundControls.SetVisible(false); }

void attachLiveFind(shell::Form1& form) {
    auto find = std::make_shared<LiveFind>(form);
    form.menu("menuFindLive").onClick = [find] { find->find(); };
    form.menu("menuRunFound").onClick = [find] { find->runFound(); };
    form.menu("menuHideFound").onClick = [find] { find->hide(); };
    form.FoundControls.onClick = [find] { find->choose(); };
}

}  // namespace tessaline::editing
