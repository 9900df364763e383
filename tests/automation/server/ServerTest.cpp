// tessaline-office.exe seen from another process at the raw IDispatch level, as a script or Office's own
// clients see Office.
#include <gtest/gtest.h>
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ServerProcess.h"
#include "automation/com/Text.h"
#include "automation/server/Guids.h"

namespace tessaline::automation::server::testing {
namespace {

class ServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new ServerProcess(std::string(TESSALINE_DATA_DIR) + "/office"); }
    static void TearDownTestSuite() {
        // Quit ends the server cleanly, however the tests left it.
        EXPECT_EQ(server_->quit(), 0u) << server_->output();
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(server_->started()) << server_->output();
        ASSERT_TRUE(get(control(), L"StartHost", {arg(L"Excel")}).integer());
        ComPtr<IUnknown> unknown;
        ASSERT_HRESULT_SUCCEEDED(GetActiveObject(ExcelClass, nullptr, unknown.put()));
        excel_ = unknown.as<IDispatch>();
        ASSERT_TRUE(excel_);
    }

    static IDispatch* control() { return server_->control(); }
    int liveObjects() { return get(control(), L"LiveObjects").integer(); }

    static ServerProcess* server_;
    ComPtr<IDispatch> excel_;
};

ServerProcess* ServerTest::server_ = nullptr;

TEST_F(ServerTest, RefusalsArriveAsOfficeReportsThem) {
    // A shortcut menu cannot be shown: Office's failure, with its text for the client to show.
    auto bars = object(excel_.get(), L"CommandBars");
    auto menu = object(bars.get(), L"Item", {arg(L"Workbook tabs")});
    ASSERT_TRUE(menu);
    const Reply refused = put(menu.get(), L"Visible", arg(true));
    EXPECT_EQ(refused.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(refused.scode, E_FAIL);
    EXPECT_EQ(refused.description, "Method 'Visible' of object 'CommandBar' failed");

    EXPECT_EQ(get(bars.get(), L"NoSuchMember").hr, DISP_E_UNKNOWNNAME);
    EXPECT_EQ(get(bars.get(), L"Item", {arg(L"No such bar")}).hr, E_INVALIDARG);
    EXPECT_EQ(call(bars.get(), L"Add", DISPATCH_METHOD, {}, {{L"Position", arg(L"top")}}).hr, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(call(bars.get(), L"Add", DISPATCH_METHOD, {}, {{L"Colour", arg(1)}}).hr, DISP_E_UNKNOWNNAME);
}

TEST_F(ServerTest, ForEachAndDefaultMembersReachTheSameBars) {
    auto bars = object(excel_.get(), L"CommandBars");
    const int count = get(bars.get(), L"Count").integer();
    ASSERT_GT(count, 3);

    Reply enumReply = callId(bars.get(), DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    ASSERT_HRESULT_SUCCEEDED(enumReply.hr);
    ASSERT_EQ(enumReply.value.type(), VT_UNKNOWN);
    ComPtr<IEnumVARIANT> items = ComPtr<IUnknown>::share(enumReply.value.get()->punkVal).as<IEnumVARIANT>();
    ASSERT_TRUE(items);
    int seen = 0;
    ComPtr<IUnknown> firstSeen;
    for (;;) {
        ComVariant item;
        ULONG fetched = 0;
        if (items->Next(1, item.put(), &fetched) != S_OK || fetched != 1) break;
        ASSERT_EQ(item.type(), VT_DISPATCH);
        if (seen++ == 0) item.get()->pdispVal->QueryInterface(IID_IUnknown, firstSeen.putVoid());
    }
    EXPECT_EQ(seen, count);
    ComPtr<IEnumVARIANT> again;
    ASSERT_HRESULT_SUCCEEDED(items->Reset());
    ASSERT_HRESULT_SUCCEEDED(items->Skip(static_cast<ULONG>(count - 1)));
    ASSERT_HRESULT_SUCCEEDED(items->Clone(again.put()));
    ComVariant last;
    ULONG fetched = 0;
    EXPECT_EQ(again->Next(1, last.put(), &fetched), S_OK);
    EXPECT_EQ(again->Next(1, last.put(), &fetched), S_FALSE);

    // x.CommandBars(1) is one call with an argument, handed on to Item; the same bar is the same object.
    Reply viaApplication = get(excel_.get(), L"CommandBars", {arg(1)});
    ASSERT_HRESULT_SUCCEEDED(viaApplication.hr);
    ComPtr<IUnknown> first = viaApplication.object().as<IUnknown>();
    EXPECT_EQ(first.get(), firstSeen.get());
    const Reply byDefault = callId(bars.get(), DISPID_VALUE, DISPATCH_PROPERTYGET, {arg(1)});
    EXPECT_EQ(byDefault.object().as<IUnknown>().get(), first.get());
}

TEST_F(ServerTest, ControlsAddTakesNamedAndLeftOutArguments) {
    auto bars = object(excel_.get(), L"CommandBars");
    Reply added =
        call(bars.get(), L"Add", DISPATCH_METHOD, {}, {{L"Name", arg(L"Named args")}, {L"Temporary", arg(true)}});
    ASSERT_HRESULT_SUCCEEDED(added.hr) << added.description;
    auto bar = added.object();
    auto controls = object(bar.get(), L"Controls");
    ASSERT_HRESULT_SUCCEEDED(call(controls.get(), L"Add", DISPATCH_METHOD, {arg(1)}).hr);
    // Type:=10 (a popup) placed Before:=1, Id and Parameter left out as VT_ERROR.
    Reply popup = call(controls.get(), L"Add", DISPATCH_METHOD, {arg(10), missing(), missing()}, {{L"Before", arg(1)}});
    ASSERT_HRESULT_SUCCEEDED(popup.hr) << popup.description;
    EXPECT_EQ(get(controls.get(), L"Count").integer(), 2);
    EXPECT_EQ(get(popup.object().get(), L"Index").integer(), 1);
    EXPECT_EQ(get(popup.object().get(), L"Type").integer(), 10);
    EXPECT_TRUE(object(popup.object().get(), L"Controls"));
    EXPECT_HRESULT_SUCCEEDED(call(bar.get(), L"Delete", DISPATCH_METHOD).hr);
}

// A sink for _CommandBarButtonEvents, as a VB WithEvents variable is one.
class ClickSink final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_CommandBarButtonEvents) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (id != 1 || params->cArgs != 2) return DISP_E_MEMBERNOTFOUND;
        ++clicks;
        ctrlIsObject = params->rgvarg[1].vt == VT_DISPATCH && params->rgvarg[1].pdispVal;
        if (params->rgvarg[0].vt != (VT_BYREF | VT_BOOL)) return DISP_E_TYPEMISMATCH;
        if (cancel) *params->rgvarg[0].pboolVal = VARIANT_TRUE;
        return S_OK;
    }
    ULONG refs = 1;
    int clicks = 0;
    bool ctrlIsObject = false;
    bool cancel = false;
};

TEST_F(ServerTest, ClickReachesTheSinkWhichCanCancelTheDefault) {
    auto bars = object(excel_.get(), L"CommandBars");
    auto bar =
        call(bars.get(), L"Add", DISPATCH_METHOD, {arg(L"Click test"), missing(), missing(), arg(true)}).object();
    ASSERT_TRUE(bar);
    auto button = call(object(bar.get(), L"Controls").get(), L"Add", DISPATCH_METHOD, {arg(1)}).object();
    ASSERT_HRESULT_SUCCEEDED(put(button.get(), L"OnAction", arg(L"ClickMacro")).hr);
    ASSERT_HRESULT_SUCCEEDED(put(button.get(), L"Tag", arg(L"click-test")).hr);

    ComPtr<IConnectionPointContainer> container = button.as<IConnectionPointContainer>();
    ASSERT_TRUE(container);
    ComPtr<IConnectionPoint> point;
    ASSERT_HRESULT_SUCCEEDED(container->FindConnectionPoint(DIID_CommandBarButtonEvents, point.put()));
    ClickSink sink;
    sink.cancel = true;
    DWORD cookie = 0;
    ASSERT_HRESULT_SUCCEEDED(point->Advise(&sink, &cookie));

    const auto click = [&] { return get(control(), L"ClickButton", {arg(L"Excel"), arg(L"Click test"), arg(L"1")}); };
    ASSERT_HRESULT_SUCCEEDED(get(control(), L"ClearActionLog").hr);
    ASSERT_TRUE(click().integer());
    EXPECT_EQ(sink.clicks, 1);
    EXPECT_TRUE(sink.ctrlIsObject);
    Reply log = get(control(), L"ActionLog");
    ASSERT_TRUE(log.value.type() & VT_ARRAY);
    EXPECT_EQ(log.value.get()->parray->rgsabound[0].cElements, 0u) << "the macro ran although the sink cancelled";

    sink.cancel = false;
    ASSERT_TRUE(click().integer());
    EXPECT_EQ(sink.clicks, 2);
    log = get(control(), L"ActionLog");
    ASSERT_EQ(log.value.get()->parray->rgsabound[0].cElements, 1u);

    ASSERT_HRESULT_SUCCEEDED(point->Unadvise(cookie));
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    ASSERT_TRUE(click().integer());
    EXPECT_EQ(sink.clicks, 2);
    EXPECT_EQ(sink.refs, 1u) << "the server still holds the sink";

    EXPECT_EQ(click().hr, S_OK);
    const Reply nowhere = get(control(), L"ClickButton", {arg(L"Excel"), arg(L"Click test"), arg(L"7")});
    EXPECT_EQ(nowhere.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(nowhere.scode, DISP_E_BADINDEX);
    EXPECT_HRESULT_SUCCEEDED(call(bar.get(), L"Delete", DISPATCH_METHOD).hr);
}

TEST_F(ServerTest, ReleasingEverythingBringsTheServerBackToItsBaseline) {
    const int baseline = liveObjects();
    {
        auto bars = object(excel_.get(), L"CommandBars");
        auto bar = object(bars.get(), L"Item", {arg(L"Standard")});
        auto controls = object(bar.get(), L"Controls");
        Reply enumReply = callId(controls.get(), DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
        ComPtr<IEnumVARIANT> items = ComPtr<IUnknown>::share(enumReply.value.get()->punkVal).as<IEnumVARIANT>();
        enumReply.value.put();
        ComVariant item[3];
        ULONG fetched = 0;
        ASSERT_HRESULT_SUCCEEDED(items->Next(1, item[0].put(), &fetched));
        auto sheet = object(object(excel_.get(), L"ActiveWorkbook").get(), L"Worksheets", {arg(1)});
        auto cells = object(sheet.get(), L"Range", {arg(L"A1:B2")});
        EXPECT_GT(liveObjects(), baseline + 5);
    }
    EXPECT_EQ(liveObjects(), baseline);
}

TEST_F(ServerTest, AStoppedHostCutsOffItsObjectsAndComesBackOnStart) {
    ASSERT_TRUE(get(control(), L"StartHost", {arg(L"Word")}).integer());
    ComPtr<IUnknown> unknown;
    ASSERT_HRESULT_SUCCEEDED(GetActiveObject(WordClass, nullptr, unknown.put()));
    auto word = unknown.as<IDispatch>();
    auto bars = object(word.get(), L"CommandBars");
    ASSERT_GT(get(bars.get(), L"Count").integer(), 0);
    Reply enumReply = callId(bars.get(), DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    ComPtr<IEnumVARIANT> items = ComPtr<IUnknown>::share(enumReply.value.get()->punkVal).as<IEnumVARIANT>();
    ASSERT_TRUE(items);

    ASSERT_HRESULT_SUCCEEDED(get(control(), L"StopHost", {arg(L"Word")}).hr);
    EXPECT_EQ(get(bars.get(), L"Count").hr, RPC_E_DISCONNECTED);
    ComVariant item;
    // Wine answers a cut-off enumerator with RPC_S_UNKNOWN_IF rather than RPC_E_DISCONNECTED: a failure either way.
    EXPECT_TRUE(FAILED(items->Next(1, item.put(), nullptr)));
    EXPECT_EQ(get(word.get(), L"Name").hr, RPC_E_DISCONNECTED);
    EXPECT_EQ(GetActiveObject(WordClass, nullptr, unknown.put()), MK_E_UNAVAILABLE);

    ASSERT_TRUE(get(control(), L"StartHost", {arg(L"Word")}).integer());
    ASSERT_HRESULT_SUCCEEDED(GetActiveObject(WordClass, nullptr, unknown.put()));
    EXPECT_EQ(get(unknown.as<IDispatch>().get(), L"Name").text(), "Microsoft Word");
}

TEST_F(ServerTest, HostWindowsAreRealAndAltF11OpensTheEditor) {
    const int handle = get(control(), L"HostWindow", {arg(L"Excel")}).integer();
    const HWND excelWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(handle));
    if (server_->output().find("without real windows") != std::string::npos) {
        GTEST_SKIP() << "the server runs without a display";
    }
    ASSERT_TRUE(IsWindow(excelWindow));
    wchar_t className[64] = {};
    GetClassNameW(excelWindow, className, 64);
    EXPECT_STREQ(className, L"XLMAIN");
    EXPECT_EQ(get(control(), L"WindowClass", {arg(handle)}).text(), "XLMAIN");

    ShowWindow(excelWindow, SW_MINIMIZE);
    EXPECT_EQ(get(control(), L"WindowShowState", {arg(handle)}).integer(), 2);
    ShowWindow(excelWindow, SW_RESTORE);
    EXPECT_EQ(get(control(), L"WindowShowState", {arg(handle)}).integer(), 1);

    get(control(), L"StopHost", {arg(L"VBE")});
    ASSERT_EQ(get(control(), L"HostWindow", {arg(L"VBE")}).integer(), 0);
    // Keys reaching Excel's window: Ctrl+S is only recorded, Alt+F11 opens the editor.
    PostMessageW(excelWindow, WM_KEYDOWN, VK_CONTROL, 1);
    PostMessageW(excelWindow, WM_KEYDOWN, 'S', 1);
    PostMessageW(excelWindow, WM_KEYUP, VK_CONTROL, 1 | (3u << 30));
    PostMessageW(excelWindow, WM_SYSKEYDOWN, VK_F11, 1 | (1 << 29));
    int editor = 0;
    for (const DWORD started = GetTickCount(); editor == 0 && GetTickCount() - started < 5000; Sleep(20)) {
        editor = get(control(), L"HostWindow", {arg(L"VBE")}).integer();
    }
    ASSERT_NE(editor, 0) << "Alt+F11 did not open the editor";
    const HWND editorWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(editor));
    GetClassNameW(editorWindow, className, 64);
    EXPECT_STREQ(className, L"wndclass_desked_gsk");
    EXPECT_TRUE(IsWindowVisible(editorWindow));
    EXPECT_EQ(get(control(), L"ForegroundWindow").integer(), editor);
    const Reply keys = get(control(), L"SentKeys");
    ASSERT_EQ(keys.value.type(), VT_ARRAY | VT_VARIANT);
    std::vector<std::string> sent;
    for (LONG i = 0; i < static_cast<LONG>(keys.value.get()->parray->rgsabound[0].cElements); ++i) {
        ComVariant key;
        SafeArrayGetElement(keys.value.get()->parray, &i, key.put());
        sent.push_back(com::fromComVariant(*key.get()).toString());
    }
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2], "^s");
    EXPECT_EQ(sent.back(), "%{F11}");

    // Closing the editor's window as a person would closes it in the Office too.
    PostMessageW(editorWindow, WM_CLOSE, 0, 0);
    for (const DWORD started = GetTickCount(); editor != 0 && GetTickCount() - started < 5000; Sleep(20)) {
        editor = get(control(), L"HostWindow", {arg(L"VBE")}).integer();
    }
    EXPECT_EQ(editor, 0);
    EXPECT_FALSE(IsWindow(editorWindow));
    EXPECT_TRUE(get(control(), L"IsRunning", {arg(L"Excel")}).integer());
}

}  // namespace
}  // namespace tessaline::automation::server::testing
