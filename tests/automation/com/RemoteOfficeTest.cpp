// The tool's Office surface over COM, against tessaline-office.exe in its own process: what crosses, how
// refusals read, Click sinks, and that every reference handed out comes back.
#include <gtest/gtest.h>

#include <memory>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/com/RemoteOffice.h"

namespace tessaline::automation::com {
namespace {

RemoteOffice::Options smallOffice() {
    RemoteOffice::Options options;
    options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
    options.serverPath = TESSALINE_OFFICE_EXE;
    return options;
}

// The error a call raises, or a failure when it raises none.
template <class F>
AutomationError raised(F&& f) {
    try {
        f();
    } catch (const AutomationError& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return AutomationError(0, "");
}

class RemoteOfficeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { office_ = new RemoteOffice(smallOffice()); }
    static void TearDownTestSuite() {
        delete office_;
        office_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(office_->startHost("Excel"));
        excel_ = std::dynamic_pointer_cast<ExcelApplication>(office_->host("Excel"));
        ASSERT_TRUE(excel_);
    }

    static RemoteOffice* office_;
    std::shared_ptr<ExcelApplication> excel_;
};

RemoteOffice* RemoteOfficeTest::office_ = nullptr;

TEST_F(RemoteOfficeTest, ArgumentsArriveByNameAndLeftOutOnesStayOut) {
    const auto bars = excel_->CommandBars();
    const int before = bars->Count();
    const auto bar = bars->Add(Variant("Tessaline Test"), Variant(mso::BarTop), std::nullopt, Variant(true));
    ASSERT_TRUE(bar);
    EXPECT_EQ(bars->Count(), before + 1);
    EXPECT_EQ(bar->Name(), "Tessaline Test");
    EXPECT_EQ(bar->Position(), mso::BarTop);

    const auto controls = bar->Controls();
    const auto last = controls->Add(Variant(mso::ControlButton));
    const auto first = controls->Add(Variant(mso::ControlButton), std::nullopt, std::nullopt, Variant(1));
    last->SetCaption("最后");
    first->SetCaption("First");
    first->SetTag("t1");
    EXPECT_EQ(first->Index(), 1);
    EXPECT_EQ(controls->Item(Variant(2))->Caption(), "最后");
    EXPECT_EQ(bar->FindControl(std::nullopt, std::nullopt, Variant("t1"))->Caption(), "First");
    EXPECT_EQ(first->Parent()->Name(), "Tessaline Test");

    // Copy and Move with Bar left out stay in the bar; Before places them.
    const auto copy = last->Copy(nullptr, Variant(1));
    EXPECT_EQ(copy->Index(), 1);
    EXPECT_EQ(copy->Caption(), "最后");
    first->Move(nullptr, std::nullopt);
    EXPECT_EQ(first->Index(), 3);

    const auto combo = controls->Add(Variant(mso::ControlComboBox))->AsComboBox();
    combo->AddItem("b");
    combo->AddItem("a", Variant(1));
    EXPECT_EQ(combo->ListCount(), 2);
    EXPECT_EQ(combo->List(1), "a");
    EXPECT_EQ(combo->TypeName(), "CommandBarComboBox");
    EXPECT_EQ(first->AsButton()->GetProperty("Caption"), Variant("First"));
    bar->Delete();
    EXPECT_EQ(bars->Count(), before);

    // Excel's ranges: Find by name, the first cell of a block's Value, cells in order.
    const auto book = excel_->Workbooks()->Add();
    const auto sheet = book->Worksheets(Variant(1));
    sheet->Range("A1")->SetValue(Variant("x"));
    sheet->Range("B2")->SetValue(Variant(42));
    const auto block = sheet->Range("A1:C3");
    EXPECT_EQ(block->Value(), Variant("x"));
    EXPECT_EQ(block->Find(Variant(42))->Address(true, true), "$B$2");
    EXPECT_EQ(block->Find(Variant("nothing here")), nullptr);
    EXPECT_EQ(block->Cell(2, 2)->Value().toDouble(), 42.0);
    EXPECT_EQ(block->Cells().size(), 9u);
    EXPECT_EQ(block->RowsCount(), 3);
    const auto both = excel_->Union({sheet->Range("A1"), sheet->Range("C3")});
    EXPECT_EQ(both->AreasCount(), 2);
    EXPECT_EQ(both->Area(2)->Address(false, false), "C3");
    EXPECT_EQ(excel_->Intersect(sheet->Range("A1"), sheet->Range("C3")), nullptr);
    book->Close();
}

TEST_F(RemoteOfficeTest, RefusalsReadAsVbReportsThem) {
    const auto bars = excel_->CommandBars();
    EXPECT_EQ(raised([&] { bars->Item(Variant("No such bar")); }).number(), vberr::InvalidCall);
    EXPECT_EQ(raised([&] { excel_->Workbooks()->Item(Variant("nope.xls")); }).number(), vberr::SubscriptOutOfRange);

    const auto shortcut = bars->Item(Variant("Cell"));
    const AutomationError refused = raised([&] { shortcut->SetVisible(true); });
    EXPECT_EQ(refused.number(), vberr::MethodFailed);
    EXPECT_EQ(refused.description(), "Method 'Visible' of object 'CommandBar' failed");

    // A description the server gives is kept.
    const AutomationError missing = raised([&] { excel_->Workbooks()->Open("Z:\\no\\such\\book.xls"); });
    EXPECT_NE(missing.description().find("book.xls"), std::string::npos) << missing.description();

    const auto button = bars->Item(Variant("Standard"))->Controls()->Item(Variant(1));
    EXPECT_EQ(raised([&] { button->GetProperty("NoSuchMember"); }).number(), vberr::NoSuchMember);
    EXPECT_EQ(raised([&] { button->AsPopup(); }).number(), vberr::TypeMismatch);

    office_->stopHost("Word");
    EXPECT_EQ(raised([&] { office_->GetObject("Word.Application"); }).number(), vberr::CannotCreateObject);
    EXPECT_EQ(raised([&] { office_->GetObject("No.Such.Application"); }).number(), vberr::CannotCreateObject);
    EXPECT_TRUE(std::dynamic_pointer_cast<ExcelApplication>(office_->GetObject("excel.application")));
}

TEST_F(RemoteOfficeTest, AClickSinkHearsTheClickAndCanCancelTheDefault) {
    office_->clearActionLog();
    std::vector<std::string> heard;
    // The connection lasts after the tool lets go of every object it was made through.
    const int cookie = excel_->CommandBars()
                           ->Item(Variant("Standard"))
                           ->Controls()
                           ->Item(Variant(3))
                           ->AsButton()
                           ->ConnectClick([&](const ButtonPtr& ctrl, bool& cancelDefault) {
                               heard.push_back(ctrl->Caption());
                               cancelDefault = true;
                           });
    excel_.reset();
    const auto save = std::dynamic_pointer_cast<ExcelApplication>(office_->host("Excel"))
                          ->CommandBars()
                          ->Item(Variant("Standard"))
                          ->Controls()
                          ->Item(Variant(3))
                          ->AsButton();
    EXPECT_TRUE(office_->clickButton("Excel", "Standard", {3}));
    save->Execute();
    EXPECT_EQ(heard, (std::vector<std::string>{"保存(&S)", "保存(&S)"}));
    EXPECT_TRUE(office_->actionLog().empty());

    save->DisconnectClick(cookie);
    EXPECT_TRUE(office_->clickButton("Excel", "Standard", {3}));
    EXPECT_EQ(heard.size(), 2u);
    EXPECT_EQ(office_->actionLog(), (std::vector<std::string>{"builtin:3 保存(&S)"}));

    // A sink that fails does not stop the click; the server notes the failure.
    office_->clearActionLog();
    const int failing = save->ConnectClick([](const ButtonPtr&, bool&) { throw invalidCall(); });
    EXPECT_TRUE(office_->clickButton("Excel", "Standard", {3}));
    save->DisconnectClick(failing);
    const auto log = office_->actionLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].rfind("sink-error:", 0), 0u) << log[0];
}

TEST_F(RemoteOfficeTest, EveryReferenceHandedOutComesBack) {
    const int baseline = office_->liveObjects();
    {
        const auto bars = excel_->CommandBars();
        for (const auto& bar : bars->Enumerate()) {
            for (const auto& control : bar->Controls()->Enumerate()) {
                if (control->Type() == mso::ControlPopup) {
                    const auto popup = control->AsPopup();
                    EXPECT_EQ(std::dynamic_pointer_cast<CommandBarControl>(popup->CommandBar()->Parent())->Id(),
                              popup->Id());
                }
            }
            EXPECT_TRUE(bar->Parent());
        }
        const auto save = bars->Item(Variant("Standard"))->Controls()->Item(Variant(3))->AsButton();
        save->DisconnectClick(save->ConnectClick([](const ButtonPtr&, bool&) {}));
        EXPECT_GT(office_->liveObjects(), baseline);
    }
    EXPECT_EQ(office_->liveObjects(), baseline);
}

TEST_F(RemoteOfficeTest, ASecondServerIsRefusedWhileOneRuns) {
    try {
        RemoteOffice second(smallOffice());
        ADD_FAILURE() << "a second server started";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("already running"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(office_->isRunning("Excel"));
}

TEST(RemoteOfficeLifeTest, AServerThatIsGoneFailsCallsAsAutomationErrors) {
    RemoteOffice office(smallOffice());
    ASSERT_TRUE(office.startHost("Excel"));
    const auto excel = std::dynamic_pointer_cast<ExcelApplication>(office.host("Excel"));
    ASSERT_TRUE(excel);
    const auto bars = excel->CommandBars();
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, office.processId());
    ASSERT_TRUE(process);
    TerminateProcess(process, 9);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    const AutomationError gone = raised([&] { bars->Count(); });
    EXPECT_TRUE(gone.number() == static_cast<int>(HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)) ||
                gone.number() == static_cast<int>(RPC_E_DISCONNECTED))
        << gone.number();
    EXPECT_EQ(gone.description().rfind("Automation error\r\n", 0), 0u) << gone.description();
}

TEST(RemoteOfficeLifeTest, AFaultyContentFolderStopsTheStartWithTheServersReason) {
    RemoteOffice::Options options = smallOffice();
    options.contentFolder = TESSALINE_SOURCE_DIR "/no/such/folder";
    try {
        RemoteOffice office(options);
        ADD_FAILURE() << "started";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("no such folder"), std::string::npos) << e.what();
    }
}

// Run only by the next test, in a process of its own: a client that dies with its server running.
TEST(RemoteOfficeLifeTest, DISABLED_ClientThatDies) {
    RemoteOffice office(smallOffice());
    TerminateProcess(GetCurrentProcess(), 3);
}

TEST(RemoteOfficeLifeTest, AServerGoesWithItsClientHoweverTheClientEnds) {
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    std::wstring command =
        std::wstring(L"\"") + self +
        L"\" --gtest_also_run_disabled_tests --gtest_filter=RemoteOfficeLifeTest.DISABLED_ClientThatDies";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    ASSERT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    ASSERT_EQ(code, 3u);
    // Its server went too: a new one starts rather than meeting the old one's registration.
    RemoteOffice office(smallOffice());
    EXPECT_TRUE(office.isInstalled("Excel"));
}

}  // namespace
}  // namespace tessaline::automation::com
