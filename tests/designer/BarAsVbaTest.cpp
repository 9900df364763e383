#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Desktop.h"
#include "automation/sim/SimCommandBars.h"
#include "automation/sim/SimOffice.h"
#include "designer/BarAsVba.h"
#include "designer/DesignerHandlers.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace tessaline::designer {
namespace {

using automation::Variant;

// Plays back the statements BarAsVba and PopupAsVba write, on a host's CommandBars; any other statement
// fails the replay. A reader of exactly those shapes, no VBA interpreter.
class Replayer {
public:
    explicit Replayer(automation::CommandBars& bars) : bars_(bars) {}

    // Returns the bar the procedure added, or nullptr for a popup's procedure.
    automation::CommandBarPtr run(const std::string& code) {
        std::istringstream in(code);
        std::string raw;
        std::vector<std::string> lines;
        while (std::getline(in, raw)) {
            if (!raw.empty() && raw.back() == '\r') raw.pop_back();
            const auto start = raw.find_first_not_of(' ');
            if (start != std::string::npos) lines.push_back(raw.substr(start));
        }
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            std::smatch m;
            try {
                if (std::regex_match(line, m, std::regex(R"(Do While (\w+)\.Controls\.Count > 0)"))) {
                    EXPECT_EQ(lines.at(i + 1), m[1].str() + ".Controls(1).Delete");
                    EXPECT_EQ(lines.at(i + 2), "Loop");
                    auto controls = containerControls(m[1]);
                    while (controls->Count() > 0) controls->Item(1)->Delete();
                    i += 2;
                } else {
                    statement(line);
                }
            } catch (const automation::AutomationError& e) {
                if (!resume_) ADD_FAILURE() << "the host refused: " << line << "\n    " << e.what();
            }
        }
        return added_;
    }

private:
    void statement(const std::string& line) {
        static const std::regex sub(R"(Sub \w+\(\)|End Sub|Dim \w+ As Object)");
        static const std::regex addBar(
            R"re(Set cb = CommandBars\.Add\(Name:=("(?:[^"]|"")*"), Position:=(\d+), MenuBar:=(True|False), Temporary:=False\))re");
        static const std::regex address(R"re(Set cb = CommandBars\(("(?:[^"]|"")*")\)((?:\.Controls\(\d+\))+))re");
        static const std::regex addControl(
            R"(Set (\w+) = (\w+)\.Controls\.Add\(Type:=(\d+)(?:, Id:=(\d+))?, Before:=(\d+)\))");
        static const std::regex deleteBar(R"re(CommandBars\(("(?:[^"]|"")*")\)\.Delete)re");
        static const std::regex with(R"(With (\w+))");
        static const std::regex assign(R"(\.(\w+) = (.+))");
        static const std::regex addItem(R"(\.AddItem (".*"))");
        std::smatch m;
        if (std::regex_match(line, sub)) return;
        if (line == "On Error Resume Next") {
            resume_ = true;
        } else if (line == "On Error GoTo 0") {
            resume_ = false;
        } else if (std::regex_match(line, m, deleteBar)) {
            bars_.Item(literal(m[1]))->Delete();
        } else if (std::regex_match(line, m, addBar)) {
            added_ = bars_.Add(literal(m[1]), std::stoi(m[2]), m[3] == "True", false);
            vars_["cb"] = added_;
        } else if (std::regex_match(line, m, address)) {
            automation::ControlsPtr controls = bars_.Item(literal(m[1]))->Controls();
            automation::ControlPtr control;
            const std::string path = m[2];
            static const std::regex step(R"(\.Controls\((\d+)\))");
            for (std::sregex_iterator it(path.begin(), path.end(), step), end; it != end; ++it) {
                control = controls->Item(std::stoi((*it)[1]));
                if (auto next = std::next(it); next != end) controls = control->AsPopup()->Controls();
            }
            vars_["cb"] = control;
        } else if (std::regex_match(line, m, addControl)) {
            automation::Optional id;
            if (m[4].matched) id = Variant(std::stoi(m[4]));
            vars_[m[1]] = containerControls(m[2])->Add(std::stoi(m[3]), id, std::nullopt, std::stoi(m[5]));
        } else if (std::regex_match(line, m, with)) {
            with_ = m[1];
        } else if (line == "End With") {
            with_.clear();
        } else if (line == ".Clear") {
            control(with_)->AsComboBox()->Clear();
        } else if (std::regex_match(line, m, addItem)) {
            control(with_)->AsComboBox()->AddItem(literal(m[1]));
        } else if (std::regex_match(line, m, assign)) {
            const Variant value = valueOf(m[2]);
            if (auto bar = std::dynamic_pointer_cast<automation::CommandBar>(vars_.at(with_))) {
                if (m[1] == "Enabled") bar->SetEnabled(value.toBool());
                else if (m[1] == "Visible") bar->SetVisible(value.toBool());
                else ADD_FAILURE() << "unknown bar property: " << line;
            } else {
                control(with_)->SetProperty(m[1].str(), value);
            }
        } else {
            ADD_FAILURE() << "a statement the writer does not write: " << line;
        }
    }

    automation::ControlPtr control(const std::string& var) {
        return std::dynamic_pointer_cast<automation::CommandBarControl>(vars_.at(var));
    }
    automation::ControlsPtr containerControls(const std::string& var) {
        if (auto bar = std::dynamic_pointer_cast<automation::CommandBar>(vars_.at(var))) return bar->Controls();
        return control(var)->AsPopup()->Controls();
    }
    static std::string literal(const std::string& quoted) {
        std::string out;
        for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
            out += quoted[i];
            if (quoted[i] == '"') ++i;
        }
        return out;
    }
    static Variant valueOf(const std::string& text) {
        if (text == "True") return Variant(true);
        if (text == "False") return Variant(false);
        if (!text.empty() && text[0] == '"') return Variant(literal(text));
        return Variant(std::stoi(text));
    }

    automation::CommandBars& bars_;
    std::map<std::string, automation::ObjectPtr> vars_;
    automation::CommandBarPtr added_;
    std::string with_;
    bool resume_ = false;
};

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

automation::CommandBarsPtr barsOf(automation::sim::SimOffice& office, const std::string& host) {
    if (host == "Outlook") {
        office.setOutlookExplorer(true);
        auto outlook = std::dynamic_pointer_cast<automation::OutlookApplication>(office.host(host));
        return outlook->ActiveExplorer()->CommandBars();
    }
    return std::dynamic_pointer_cast<automation::CommandBarHost>(office.host(host))->CommandBars();
}

// Every bar of the shipped content, written as VBA and played back on a fresh Office whose bars were taken
// away (so that the names are free), comes back property by property, sub items and lists included.
TEST(BarAsVbaTest, EveryShippedBarIsRebuiltByItsProcedure) {
    int bars = 0;
    int controls = 0;
    for (const std::string host : {"Excel", "Word", "PowerPoint", "Access", "Outlook", "VBE"}) {
        auto original = automation::sim::SimOffice::loadDefault();
        auto fresh = automation::sim::SimOffice::loadDefault();
        if (host == "VBE") {
            original->startHost(host);
            fresh->startHost(host);
        }
        automation::CommandBarsPtr target = barsOf(*fresh, host);
        auto sim = std::dynamic_pointer_cast<automation::sim::SimCommandBars>(target);
        while (sim->Count() > 0) sim->removeBar(sim->bar(0).get());

        for (const editing::BarSnapshot& bar : editing::snapshotBars(*barsOf(*original, host))) {
            const std::string code = BarAsVba(bar);
            automation::CommandBarPtr rebuilt = Replayer(*target).run(code);
            ASSERT_NE(rebuilt, nullptr) << code;
            const auto differences = editing::barDifferences(bar, editing::snapshotBar(*rebuilt), false);
            EXPECT_TRUE(differences.empty()) << host << " " << bar.name << ":\n" << joined(differences) << code;
            // Two shipped bars share a name (Excel's "Cell"): each is rebuilt where the name is free.
            rebuilt->Delete();
            ++bars;
            std::function<void(const std::vector<editing::ControlSnapshot>&)> count = [&](const auto& list) {
                for (const auto& c : list) {
                    ++controls;
                    count(c.controls);
                }
            };
            count(bar.controls);
        }
    }
    EXPECT_GT(bars, 200);
    std::cout << "replayed " << bars << " bars with " << controls << " controls\n";
}

// A bar of one's own with every kind of change: custom buttons, an edit box and a combo box with a list,
// nested custom popups, a built-in command whose macro replaced its command, texts with quotes; and the
// procedure for one of its popups, which refills the popup in place.
TEST(BarAsVbaTest, ACustomBarAndAnOpenPopupAreRebuilt) {
    auto office = automation::sim::SimOffice::loadDefault();
    automation::CommandBarsPtr bars = barsOf(*office, "Excel");
    automation::CommandBarPtr bar = bars->Add(std::string("我的 \"工具\""), 4, false, false);
    automation::ControlsPtr controls = bar->Controls();
    automation::ControlPtr button = controls->Add(1);
    button->SetCaption("打招呼(&H)");
    button->SetOnAction("SayHello");
    button->SetProperty("FaceId", 59);
    button->SetProperty("Style", 3);
    button->SetProperty("ShortcutText", std::string("Ctrl+H"));
    button->SetTooltipText("说 \"你好\"");
    button->SetTag("t1");
    button->SetBeginGroup(true);
    automation::ControlPtr combo = controls->Add(4);
    combo->SetCaption("颜色");
    combo->AsComboBox()->AddItem("红");
    combo->AsComboBox()->AddItem("绿");
    combo->AsComboBox()->SetText("绿");
    combo->SetWidth(150);
    combo->SetEnabled(false);
    controls->Add(2)->SetVisible(false);
    automation::ControlPtr popup = controls->Add(10);
    popup->SetCaption("更多");
    automation::ControlPtr inner = popup->AsPopup()->Controls()->Add(10);
    inner->SetCaption("再多");
    inner->AsPopup()->Controls()->Add(1)->SetCaption("最里面");
    automation::ControlPtr save = popup->AsPopup()->Controls()->Add(1, 3);
    save->SetOnAction("MySave");
    bar->SetVisible(true);

    const editing::BarSnapshot original = editing::snapshotBar(*bar);
    const std::string code = BarAsVba(original);
    bar->Delete();
    automation::CommandBarPtr rebuilt = Replayer(*bars).run(code);
    ASSERT_NE(rebuilt, nullptr) << code;
    EXPECT_EQ(joined(editing::barDifferences(original, editing::snapshotBar(*rebuilt), false)), "") << code;
    // Run again, the procedure replaces the bar it made.
    rebuilt = Replayer(*bars).run(code);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(joined(editing::barDifferences(original, editing::snapshotBar(*rebuilt), false)), "") << code;

    automation::ControlPtr more = rebuilt->Controls()->Item(4);
    const auto items = editing::snapshotControls(*more->AsPopup()->Controls());
    const std::string popupCode = PopupAsVba(rebuilt->Name(), {4}, items);
    more->AsPopup()->Controls()->Item(1)->Delete();
    more->AsPopup()->Controls()->Add(1)->SetCaption("多余");
    EXPECT_EQ(Replayer(*bars).run(popupCode), nullptr);
    EXPECT_EQ(editing::snapshotControls(*more->AsPopup()->Controls()), items) << popupCode;
}

}  // namespace
}  // namespace tessaline::designer
