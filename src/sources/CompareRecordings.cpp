#include "sources/CompareRecordings.h"

#include <algorithm>
#include <functional>
#include <map>

#include "automation/AutomationError.h"
#include "automation/VbRuntime.h"
#include "shell/CheckBox.h"
#include "shell/ErrorModes.h"
#include "shell/Form1.h"
#include "shell/TreeNode.h"
#include "sources/SourceWorkbooks.h"

namespace tessaline::sources {

namespace {

namespace vb = automation::vb;
using Kind = RecordingDifference::Kind;

constexpr int kDeepest = 3;
constexpr const char* kInputTitle = "对话框";
constexpr const char* kComparisonSheet = "比较";

std::string cellText(automation::Worksheet& sheet, int row, int column) {
    const automation::Variant value = sheet.Cells(row, column)->Value();
    return value.isEmpty() ? std::string() : value.toString();
}

std::string pathText(const std::vector<int>& path) {
    std::string text;
    for (int step : path) text += (text.empty() ? "" : ".") + std::to_string(step);
    return text;
}

// A recorded bar as a tree, for matching popup by popup.
struct Node {
    std::string caption;
    int id = 0;
    std::vector<int> path;
    std::vector<std::unique_ptr<Node>> children;
};

std::unique_ptr<Node> treeOf(const RecordedBar& bar) {
    auto root = std::make_unique<Node>();
    root->caption = bar.name;
    std::vector<Node*> open{root.get()};
    for (const RecordedItem& item : bar.items) {
        if (item.depth < 1 || item.depth > static_cast<int>(open.size())) continue;
        open.resize(static_cast<std::size_t>(item.depth));
        auto node = std::make_unique<Node>();
        node->caption = item.caption;
        node->id = item.id;
        node->path = item.path;
        Node* raw = node.get();
        open.back()->children.push_back(std::move(node));
        open.push_back(raw);
    }
    return root;
}

bool same(const Node& a, const Node& b) { return a.id == b.id && a.caption == b.caption; }

class BarComparer {
public:
    BarComparer(std::string bar, std::vector<RecordingDifference>& out) : bar_(std::move(bar)), out_(out) {}

    void run(const Node& before, const Node& after) {
        match(before, after);
        // Pairs found later may hold popups whose own items still need matching.
        while (pairLeftovers()) {
        }
        for (const Leftover& r : removed_) add(Kind::Removed, r.node, nullptr);
        for (const Leftover& a : added_) add(Kind::Added, nullptr, a.node);
    }

private:
    // Matches the items of two popups (or bars) by ID and caption, in order (longest common run).
    void match(const Node& before, const Node& after) {
        const int container = ++containers_;
        const auto& b = before.children;
        const auto& a = after.children;
        std::vector<std::vector<int>> lcs(b.size() + 1, std::vector<int>(a.size() + 1, 0));
        for (std::size_t i = b.size(); i-- > 0;) {
            for (std::size_t j = a.size(); j-- > 0;) {
                lcs[i][j] = same(*b[i], *a[j]) ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
            }
        }
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < b.size() && j < a.size()) {
            if (same(*b[i], *a[j])) {
                match(*b[i], *a[j]);
                ++i;
                ++j;
            } else if (lcs[i + 1][j] >= lcs[i][j + 1]) {
                removed_.push_back({b[i++].get(), container});
            } else {
                added_.push_back({a[j++].get(), container});
            }
        }
        while (i < b.size()) removed_.push_back({b[i++].get(), container});
        while (j < a.size()) added_.push_back({a[j++].get(), container});
    }

    bool pairLeftovers() {
        for (auto r = removed_.begin(); r != removed_.end(); ++r) {
            for (auto a = added_.begin(); a != added_.end(); ++a) {
                const bool moved = same(*r->node, *a->node);
                const bool changed = r->container == a->container && r->node->id == a->node->id;
                if (!moved && !changed) continue;
                const Node* before = r->node;
                const Node* after = a->node;
                removed_.erase(r);
                added_.erase(a);
                add(moved ? Kind::Moved : Kind::Changed, before, after);
                match(*before, *after);
                return true;
            }
        }
        return false;
    }

    void add(Kind kind, const Node* before, const Node* after) {
        RecordingDifference d;
        d.kind = kind;
        d.bar = bar_;
        if (before) {
            d.oldPath = before->path;
            d.oldCaption = before->caption;
            d.id = before->id;
        }
        if (after) {
            d.newPath = after->path;
            d.caption = after->caption;
            d.id = after->id;
        }
        out_.push_back(std::move(d));
    }

    // An item left unmatched, with the pair of popups it was left in: an item that kept its popup and its
    // ID but not its caption was renamed, wherever it moved within the popup.
    struct Leftover {
        const Node* node;
        int container;
    };

    std::string bar_;
    std::vector<RecordingDifference>& out_;
    std::vector<Leftover> removed_;
    std::vector<Leftover> added_;
    int containers_ = 0;
};

std::vector<std::string> barKeys(const Recording& recording) {
    std::map<std::string, int> seen;
    std::vector<std::string> keys;
    for (const RecordedBar& bar : recording) {
        const std::string name = vb::LCase(bar.name);
        keys.push_back(name + "#" + std::to_string(seen[name]++));
    }
    return keys;
}

void recordControls(automation::CommandBarControls& controls, int depth, std::vector<int>& path,
                    std::vector<RecordedItem>& out) {
    for (const automation::ControlPtr& control : controls.Enumerate()) {
        if (IsSkippedControl(*control)) continue;
        path.push_back(control->Index());
        out.push_back(RecordedItem{depth, control->Caption(), path, control->Id()});
        if (depth < kDeepest && IsPopupControl(*control)) {
            recordControls(*control->AsPopup()->Controls(), depth + 1, path, out);
        }
        path.pop_back();
    }
}

}  // namespace

Recording ReadRecording(automation::Worksheet& sheet) {
    Recording recording;
    automation::RangePtr used = sheet.UsedRange();
    const int first = used->Row();
    const int last = first + used->RowsCount() - 1;
    std::vector<int> path;
    for (int row = first; row <= last; ++row) {
        int column = 0;
        std::string caption;
        for (int c = 1; c <= kDeepest + 1 && column == 0; ++c) {
            caption = cellText(sheet, row, c);
            if (!caption.empty()) column = c;
        }
        if (column == 0) continue;
        const std::string index = cellText(sheet, row, sourcecol::Index);
        if (column == sourcecol::BarName) {
            recording.push_back(RecordedBar{caption, {}});
            path.clear();
            continue;
        }
        if (recording.empty()) continue;  // a control row before any bar belongs to nothing
        const int depth = column - 1;
        if (depth > static_cast<int>(path.size()) + 1) continue;
        path.resize(static_cast<std::size_t>(depth - 1));
        path.push_back(index.empty() ? 0 : static_cast<int>(vb::Val(index)));
        const std::string id = cellText(sheet, row, sourcecol::Id);
        recording.back().items.push_back(
            RecordedItem{depth, caption, path, id.empty() ? 0 : static_cast<int>(vb::Val(id))});
    }
    return recording;
}

Recording RecordHost(automation::CommandBars& bars) {
    Recording recording;
    for (const automation::CommandBarPtr& bar : bars.Enumerate()) {
        if (vb::LCase(bar->Name()) == vb::LCase("Built-in Menus")) continue;
        RecordedBar recorded{bar->Name(), {}};
        std::vector<int> path;
        recordControls(*bar->Controls(), 1, path, recorded.items);
        recording.push_back(std::move(recorded));
    }
    return recording;
}

std::vector<RecordingDifference> CompareRecordings(const Recording& before, const Recording& after) {
    std::vector<RecordingDifference> out;
    const std::vector<std::string> beforeKeys = barKeys(before);
    const std::vector<std::string> afterKeys = barKeys(after);
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (std::find(afterKeys.begin(), afterKeys.end(), beforeKeys[i]) == afterKeys.end()) {
            out.push_back(RecordingDifference{Kind::BarRemoved, before[i].name, {}, {}, 0, before[i].name, ""});
        }
    }
    for (std::size_t j = 0; j < after.size(); ++j) {
        const auto found = std::find(beforeKeys.begin(), beforeKeys.end(), afterKeys[j]);
        if (found == beforeKeys.end()) {
            out.push_back(RecordingDifference{Kind::BarAdded, after[j].name, {}, {}, 0, "", after[j].name});
            continue;
        }
        const RecordedBar& old = before[static_cast<std::size_t>(found - beforeKeys.begin())];
        BarComparer(after[j].name, out).run(*treeOf(old), *treeOf(after[j]));
    }
    return out;
}

std::string DifferenceMark(RecordingDifference::Kind kind) {
    switch (kind) {
        case Kind::BarAdded:
        case Kind::Added:
            return "+";
        case Kind::BarRemoved:
        case Kind::Removed:
            return "-";
        case Kind::Moved:
            return ">";
        case Kind::Changed:
            return "~";
    }
    return "?";
}

std::string DifferenceLine(const RecordingDifference& d) {
    const std::string mark = DifferenceMark(d.kind) + " ";
    const std::string id = " (ID " + std::to_string(d.id) + ")";
    switch (d.kind) {
        case Kind::BarAdded:
            return mark + "工具栏 " + d.bar;
        case Kind::BarRemoved:
            return mark + "工具栏 " + d.bar;
        case Kind::Added:
            return mark + d.bar + " " + pathText(d.newPath) + " " + d.caption + id;
        case Kind::Removed:
            return mark + d.bar + " " + pathText(d.oldPath) + " " + d.oldCaption + id;
        case Kind::Moved:
            return mark + d.bar + " " + pathText(d.oldPath) + " -> " + pathText(d.newPath) + " " + d.caption + id;
        case Kind::Changed:
            return mark + d.bar + " " + pathText(d.newPath) + " " + d.oldCaption + " -> " + d.caption + id;
    }
    return {};
}

Recording RecordingComparison::recordedSheet() {
    if (!OpenSourceSheet(form_, ToolbarSourceName)) throw automation::AutomationError(9, "Subscript out of range");
    return ReadRecording(shell::obj(form_.SourceSheet));
}

void RecordingComparison::compareWithHost() {
    shell::report(form_, [&] {
        const Recording before = recordedSheet();
        auto host = std::dynamic_pointer_cast<automation::CommandBarHost>(form_.SourceHost);
        if (!host) throw automation::objectRequired();
        show(before, RecordHost(*host->CommandBars()), std::string(ToolbarSourceName) + " / 当前");
    });
    shell::resume(form_, [&] { shell::obj(form_.ExcelApp).SetScreenUpdating(true); });
}

void RecordingComparison::compareWithWorkbook() {
    const std::string typed = form_.ui().InputBox("与哪个工作簿比较? 例如: 记录2.xls 或 记录2.xls!Excel", kInputTitle);
    if (typed.empty()) return;
    shell::report(form_, [&] {
        const Recording before = recordedSheet();
        const std::string sheetName = form_.HostName;
        const auto bang = typed.find('!');
        const std::string book = typed.substr(0, bang);
        const std::string sheet = bang == std::string::npos ? sheetName : typed.substr(bang + 1);
        OpenSourceWorkbook(form_, book);
        automation::WorksheetPtr other =
            shell::obj(shell::obj(shell::obj(form_.ExcelApp).Workbooks()).Item(book)).Worksheets(sheet);
        show(before, ReadRecording(shell::obj(other)), std::string(ToolbarSourceName) + " / " + book + "!" + sheet);
    });
    shell::resume(form_, [&] { shell::obj(form_.ExcelApp).SetScreenUpdating(true); });
}

// The list in the results pane, and the tree with the changed items under their bars, marked.
void RecordingComparison::show(const Recording& before, const Recording& after, const std::string& what) {
    last_ = CompareRecordings(before, after);
    what_ = what;
    shell::ListBox& list = form_.FoundControls;
    list.Clear();
    int widest = 0;
    for (const RecordingDifference& d : last_) {
        list.AddItem(DifferenceLine(d));
        widest = std::max(widest, static_cast<int>(DifferenceLine(d).size()));
    }
    list.SetHorizontalExtent(widest * 5);
    list.SetVisible(true);

    shell::TreeNodes& nodes = form_.TreeView1.Nodes();
    nodes.Clear();
    int next = 0;
    std::map<std::string, std::string> barNodes;
    for (const RecordingDifference& d : last_) {
        const std::string mark = "[" + DifferenceMark(d.kind) + "] ";
        if (d.kind == Kind::BarAdded || d.kind == Kind::BarRemoved) {
            const std::string key = "D_" + std::to_string(++next);
            nodes.Add(std::nullopt, std::nullopt, key, mark + d.bar);
            continue;
        }
        auto bar = barNodes.find(d.bar);
        if (bar == barNodes.end()) {
            const std::string key = "D_" + std::to_string(++next);
            nodes.Add(std::nullopt, std::nullopt, key, d.bar);
            bar = barNodes.emplace(d.bar, key).first;
        }
        const std::string text = mark + DifferenceLine(d).substr(2 + d.bar.size() + 1);
        nodes.Add(automation::Variant(bar->second), automation::Variant(shell::tvw::Child), "D_" + std::to_string(++next),
                  text);
    }
    for (int i = 1; i <= nodes.Count(); ++i) nodes.Item(automation::Variant(i)).SetExpanded(true);
    form_.StatusBar1.SetPanelText(6, std::to_string(last_.size()) + " 处不同: " + what);
}

void RecordingComparison::writeToSheet() {
    shell::report(form_, [&] {
        if (what_.empty()) throw automation::AutomationError(5, "还没有比较结果");
        OpenSourceWorkbook(form_, ToolbarSourceName);
        auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(
            form_.desktop().GetObject("Excel.Application"));
        if (!excel) throw automation::objectRequired();
        form_.ExcelApp = excel;
        automation::WorkbookPtr book = excel->Workbooks()->Item(ToolbarSourceName);
        automation::WorksheetPtr sheet;
        try {
            sheet = book->Worksheets(kComparisonSheet);
            sheet->UsedRange()->ClearContents();
        } catch (const automation::AutomationError&) {
            sheet = book->AddWorksheet(kComparisonSheet);
        }
        const char* headers[] = {"标记", "工具栏", "原位置", "新位置", "ID", "原标题", "标题"};
        for (int c = 0; c < 7; ++c) sheet->Cells(1, c + 1)->SetValue(automation::Variant(std::string(headers[c])));
        sheet->Cells(1, 9)->SetValue(automation::Variant(what_));
        int row = 1;
        for (const RecordingDifference& d : last_) {
            ++row;
            // Paths in brackets, so that Excel keeps "1.10" as text rather than reading the number 1.1.
            auto bracketed = [](const std::vector<int>& path) {
                return path.empty() ? std::string() : "[" + pathText(path) + "]";
            };
            const std::string cells[] = {DifferenceMark(d.kind), d.bar,   bracketed(d.oldPath), bracketed(d.newPath),
                                         "",                     d.oldCaption, d.caption};
            for (int c = 0; c < 7; ++c) {
                if (c == 4) {
                    sheet->Cells(row, c + 1)->SetValue(automation::Variant(d.id));
                } else {
                    sheet->Cells(row, c + 1)->SetValue(automation::Variant(cells[c]));
                }
            }
        }
        form_.StatusBar1.SetPanelText(6, "已写入 " + std::string(kComparisonSheet));
    });
}

void attachRecordingComparison(shell::Form1& form) {
    auto comparison = std::make_shared<RecordingComparison>(form);
    form.menu("menuCompareNow").onClick = [comparison] { comparison->compareWithHost(); };
    form.menu("menuCompareWorkbook").onClick = [comparison] { comparison->compareWithWorkbook(); };
    form.menu("menuCompareToSheet").onClick = [comparison] { comparison->writeToSheet(); };
}

}  // namespace tessaline::sources
