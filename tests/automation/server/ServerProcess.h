#pragma once

#include <oaidl.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/com/ComPtr.h"
#include "automation/com/ComVariant.h"

// tessaline-office.exe started for a test, and a raw IDispatch client of it: exactly what a script sends.
namespace tessaline::automation::server::testing {

using com::ComPtr;
using com::ComVariant;

class ServerProcess {
public:
    // Starts the server on `content` and waits (bounded) until it says "ready". Fails the test otherwise.
    explicit ServerProcess(const std::string& content);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool started() const { return static_cast<bool>(control_); }
    IDispatch* control() const { return control_.get(); }
    // Quits through the control channel and waits for the exit; kills a server that does not go.
    DWORD quit();
    std::string output();

private:
    HANDLE process_ = nullptr;
    HANDLE output_ = nullptr;
    std::string said_;
    ComPtr<IDispatch> control_;
};

struct Reply {
    HRESULT hr = S_OK;
    ComVariant value;
    HRESULT scode = S_OK;  // from EXCEPINFO for DISP_E_EXCEPTION
    std::string description;

    ComPtr<IDispatch> object() const;
    int integer() const;
    std::string text() const;
};

// An argument; shared so that argument lists can be written as brace lists.
using Arg = std::shared_ptr<ComVariant>;
Arg arg(int value);
Arg arg(bool value);
Arg arg(const wchar_t* text);
Arg missing();

// One Invoke by name; `named` are given by parameter name after the positional ones.
Reply call(IDispatch* object, const std::wstring& member, WORD flags, std::vector<Arg> positional = {},
           std::vector<std::pair<std::wstring, Arg>> named = {});
Reply get(IDispatch* object, const std::wstring& member, std::vector<Arg> positional = {});
Reply put(IDispatch* object, const std::wstring& member, Arg value);
// Invoke by DISPID (DISPID_VALUE, DISPID_NEWENUM).
Reply callId(IDispatch* object, DISPID id, WORD flags, std::vector<Arg> positional = {});
// Get of a chain of members without arguments ("CommandBars", "Count").
ComPtr<IDispatch> object(IDispatch* from, const std::wstring& member, std::vector<Arg> positional = {});

// Office's classes.
extern const CLSID ExcelClass;
extern const CLSID WordClass;

}  // namespace tessaline::automation::server::testing
