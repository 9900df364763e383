#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Desktop.h"
#include "automation/Excel.h"
#include "automation/Vbe.h"
#include "automation/sim/SimOffice.h"

namespace tessaline::automation::sim::testing {

inline std::string smallContentFolder() { return std::string(TESSALINE_SOURCE_DIR) + "/tests/data/office-small"; }

// The VB error number a call raises, or 0 when it succeeds.
template <typename Call>
int errorOf(Call&& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.number();
    }
    return 0;
}

// An in-memory Office on the small test content: Excel, Word, Outlook and the VBA editor installed and
// running (the editor's window closed), PowerPoint installed but not running, Access absent.
class OfficeFixture : public ::testing::Test {
protected:
    void SetUp() override { office = SimOffice::load(smallContentFolder()); }

    std::shared_ptr<ExcelApplication> excel() const {
        return std::dynamic_pointer_cast<ExcelApplication>(office->GetObject("Excel.Application"));
    }
    CommandBarsPtr bars() const { return excel()->CommandBars(); }
    CommandBarPtr bar(const std::string& name) const { return bars()->Item(name); }
    ControlPtr control(const std::string& barName, int index) const { return bar(barName)->Controls()->Item(index); }
    // The controls' captions of a bar in index order.
    std::vector<std::string> captions(const CommandBarPtr& b) const {
        std::vector<std::string> out;
        for (const auto& c : b->Controls()->Enumerate()) out.push_back(c->Caption());
        return out;
    }
    std::vector<int> indexes(const CommandBarPtr& b) const {
        std::vector<int> out;
        for (const auto& c : b->Controls()->Enumerate()) out.push_back(c->Index());
        return out;
    }

    std::unique_ptr<SimOffice> office;
};

}  // namespace tessaline::automation::sim::testing
