#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "automation/Office.h"
#include "automation/sim/SimOffice.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace tessaline::shell::testing {

// A loaded window on the small in-memory Office of tests/data, with scripted dialogs.
class OfficeFixture : public ::testing::Test {
protected:
    OfficeFixture()
        : office(automation::sim::SimOffice::load(std::string(TESSALINE_SOURCE_DIR) + "/tests/data/office-small")),
          form(std::make_unique<Form1>(*office, ui)) {
        form->load();
    }

    automation::CommandBarsPtr bars(const std::string& hostKey) {
        return std::dynamic_pointer_cast<automation::CommandBarHost>(office->host(hostKey))->CommandBars();
    }

    // The grid row whose name cell is `name`, or -1.
    int barRow(const std::string& name) {
        for (int r = 1; r < form->ListAllCommandbars.Rows(); ++r) {
            if (form->ListAllCommandbars.TextMatrix(r, 1) == name) return r;
        }
        return -1;
    }

    std::unique_ptr<automation::sim::SimOffice> office;
    ScriptedUi ui;
    std::unique_ptr<Form1> form;
};

}  // namespace tessaline::shell::testing
