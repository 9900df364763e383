// What the served Office cannot show: how the client handles a bare E_FAIL, and that it asks each type's
// DISPIDs once. An in-process stand-in answers here.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

#include <functional>
#include <map>
#include <string>

#include "automation/AutomationError.h"
#include "automation/com/ComCommandBars.h"

namespace tessaline::automation::com {
namespace {

// An object with a few members by name: each returns a value or a bare HRESULT.
class FakeObject final : public IDispatch {
public:
    std::map<std::wstring, std::function<HRESULT(VARIANT*)>> members;
    int lookups = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        ++lookups;
        DISPID id = 1;
        for (const auto& [name, handler] : members) {
            if (name == names[0]) {
                *ids = id;
                return S_OK;
            }
            ++id;
        }
        *ids = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        auto it = members.begin();
        std::advance(it, id - 1);
        return it->second(result);
    }

    ULONG refs = 1;
};

HRESULT returnsLong(VARIANT* result, int value) {
    result->vt = VT_I4;
    result->lVal = value;
    return S_OK;
}

TEST(DispatchTest, ABareFailureNamesTheMemberAndTheObjectsType) {
    FakeObject bar;
    bar.members[L"Delete"] = [](VARIANT*) { return E_FAIL; };
    FakeObject button;
    button.members[L"Delete"] = [](VARIANT*) { return E_FAIL; };
    button.members[L"Type"] = [](VARIANT* r) { return returnsLong(r, mso::ControlButton); };
    {
        const auto context = std::make_shared<ComContext>(ComContext{"Excel", std::make_shared<ComSession>()});
        const auto barWrapper = wrapCommandBar(ComPtr<IDispatch>::share(&bar), context, BarHolder::Host);
        const auto buttonWrapper = wrapControl(ComPtr<IDispatch>::share(&button), context, BarHolder::Host);
        try {
            barWrapper->Delete();
            ADD_FAILURE();
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), vberr::MethodFailed);
            EXPECT_EQ(e.description(), "Method 'Delete' of object 'CommandBar' failed");
        }
        try {
            buttonWrapper->Delete(std::nullopt);
            ADD_FAILURE();
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.description(), "Method 'Delete' of object 'CommandBarButton' failed");
        }
    }
    EXPECT_EQ(bar.refs, 1u);
    EXPECT_EQ(button.refs, 1u);
}

TEST(DispatchTest, EachTypesMemberIsLookedUpOnce) {
    FakeObject first;
    FakeObject second;
    for (FakeObject* bar : {&first, &second}) {
        bar->members[L"Index"] = [](VARIANT* r) { return returnsLong(r, 7); };
    }
    const auto context = std::make_shared<ComContext>(ComContext{"Excel", std::make_shared<ComSession>()});
    const auto a = wrapCommandBar(ComPtr<IDispatch>::share(&first), context, BarHolder::Host);
    const auto b = wrapCommandBar(ComPtr<IDispatch>::share(&second), context, BarHolder::Host);
    EXPECT_EQ(a->Index() + a->Index() + b->Index(), 21);
    EXPECT_EQ(first.lookups + second.lookups, 1);
    // Another host's bars are another type.
    const auto word = wrapCommandBar(ComPtr<IDispatch>::share(&second), context->sibling("Word"), BarHolder::Host);
    EXPECT_EQ(word->Index(), 7);
    EXPECT_EQ(second.lookups, 1);
}

}  // namespace
}  // namespace tessaline::automation::com
