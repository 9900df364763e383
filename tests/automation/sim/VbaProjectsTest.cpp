#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "automation/AutomationError.h"
#include "automation/sim/SimParts.h"

namespace tessaline::automation::sim {
namespace {

using nlohmann::json;

const char* kProjects = R"json([
  {"name": "VBAProject", "fileName": "C:\\Users\\me\\Book2.xls", "protection": 0,
   "components": [
     {"name": "Module1", "type": 1, "code": ["Sub Hello()", "    MsgBox \"你好\"", "End Sub"]},
     {"name": "ThisWorkbook", "type": 100},
     {"name": "Sheet1", "type": 100, "code": ["Option Explicit", "", "Sub A()", "End Sub"]}
   ]},
  {"name": "Unsaved", "components": [{"name": "Class1", "type": 2, "code": []}]},
  {"name": "Secret", "fileName": "/x/addin.xla", "protection": 1,
   "components": [{"name": "Hidden", "type": 1, "code": ["Sub Hidden()", "End Sub"]}]}
])json";

std::shared_ptr<VBProjects> projects() { return makeVbProjects(json::parse(kProjects), "vbe.json"); }

std::string messageOf(const char* content) {
    try {
        makeVbProjects(json::parse(content), "vbe.json");
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(VbaProjectsTest, ProjectsComponentsAndModulesComeFromContent) {
    auto all = projects();
    ASSERT_EQ(all->Count(), 3);
    auto project = all->Item(1);
    EXPECT_EQ(project->Name(), "VBAProject");
    EXPECT_EQ(project->FileName(), "C:\\Users\\me\\Book2.xls");
    EXPECT_EQ(project->Protection(), vbext::ProtectionNone);
    auto components = project->VBComponents();
    ASSERT_EQ(components->Count(), 3);
    EXPECT_EQ(components->Item("module1")->Type(), vbext::ComponentStdModule);
    EXPECT_EQ(components->Item(2)->Type(), vbext::ComponentDocument);
    EXPECT_EQ(components->Item(2)->CodeModule()->CountOfLines(), 0);
    EXPECT_EQ(components->Enumerate()[2]->Name(), "Sheet1");
    EXPECT_THROW(components->Item("Module2"), AutomationError);
    EXPECT_EQ(all->Item("unsaved")->FileName(), "");  // never saved: empty, not an error
    EXPECT_THROW(all->Item(4), AutomationError);
}

TEST(VbaProjectsTest, LinesAreJoinedByCrLfWithoutATrailingOne) {
    auto module = projects()->Item(1)->VBComponents()->Item("Module1")->CodeModule();
    ASSERT_EQ(module->CountOfLines(), 3);
    EXPECT_EQ(module->Lines(1, 3), "Sub Hello()\r\n    MsgBox \"你好\"\r\nEnd Sub");
    EXPECT_EQ(module->Lines(2, 1), "    MsgBox \"你好\"");
    EXPECT_EQ(module->Lines(1, 0), "");
    auto empty = projects()->Item(1)->VBComponents()->Item("ThisWorkbook")->CodeModule();
    EXPECT_EQ(empty->Lines(1, empty->CountOfLines()), "");
}

TEST(VbaProjectsTest, LinesRefusesArgumentsOutsideTheModule) {
    auto module = projects()->Item(1)->VBComponents()->Item("Module1")->CodeModule();
    for (auto [start, count] : {std::pair{0, 1}, {1, 4}, {3, 2}, {5, 0}, {1, -1}, {2147483647, 2}}) {
        try {
            module->Lines(start, count);
            FAIL() << "Lines(" << start << ", " << count << ") accepted";
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), vberr::InvalidCall);
        }
    }
}

TEST(VbaProjectsTest, AddFromStringGoesBeforeTheFirstProcedureOrAtTheEnd) {
    auto components = projects()->Item(1)->VBComponents();
    auto withDeclarations = components->Item("Sheet1")->CodeModule();
    withDeclarations->AddFromString("Dim x As Long\r\nDim y As Long\r\n");
    EXPECT_EQ(withDeclarations->Lines(1, withDeclarations->CountOfLines()),
              "Option Explicit\r\n\r\nDim x As Long\r\nDim y As Long\r\nSub A()\r\nEnd Sub");
    auto empty = components->Item("ThisWorkbook")->CodeModule();
    empty->AddFromString("Sub Go()\nEnd Sub");
    EXPECT_EQ(empty->CountOfLines(), 2);
    EXPECT_EQ(empty->Lines(2, 1), "End Sub");
}

TEST(VbaProjectsTest, ALockedProjectHidesItsComponents) {
    auto locked = projects()->Item("Secret");
    EXPECT_EQ(locked->Protection(), vbext::ProtectionLocked);
    EXPECT_EQ(locked->FileName(), "/x/addin.xla");
    EXPECT_THROW(locked->VBComponents(), AutomationError);
}

TEST(VbaProjectsTest, WrongContentNamesTheFileAndThePlace) {
    EXPECT_EQ(messageOf(R"([{"name": "P"}, {"name": "Q", "components": [{"name": "M", "type": "1"}]}])"),
              "vbe.json: vbProjects[1].components[0].type: expected a whole number");
    EXPECT_EQ(messageOf(R"([{"name": "P", "components": [{"name": "M", "type": 4}]}])"),
              "vbe.json: vbProjects[0].components[0].type: expected 1, 2, 3, 11 or 100");
    EXPECT_EQ(messageOf(R"([{"name": "P", "components": [{"name": "M"}]}])"),
              "vbe.json: vbProjects[0].components[0].type: missing");
    EXPECT_EQ(messageOf(R"([{"name": "P", "protection": 2}])"), "vbe.json: vbProjects[0].protection: expected 0 or 1");
    EXPECT_EQ(messageOf(R"([{"name": "P", "protection": 99999999999999999999}])"),
              "vbe.json: vbProjects[0].protection: expected a whole number");
    EXPECT_EQ(messageOf(R"([{"name": "P", "components": [{"name": "M", "type": 1, "code": [1]}]}])"),
              "vbe.json: vbProjects[0].components[0].code[0]: expected text");
    EXPECT_EQ(messageOf(R"([{"fileName": ""}])"), "vbe.json: vbProjects[0].name: missing");
    EXPECT_EQ(messageOf(R"({"name": "P"})"), "vbe.json: vbProjects: expected an array");
    EXPECT_EQ(messageOf(R"([{"name": "P", "components": {}}])"),
              "vbe.json: vbProjects[0].components: expected an array");
    EXPECT_EQ(makeVbProjects(json(), "vbe.json")->Count(), 0);
}

}  // namespace
}  // namespace tessaline::automation::sim
