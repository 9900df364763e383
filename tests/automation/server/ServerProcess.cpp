#include "ServerProcess.h"

#include <gtest/gtest.h>

#include "automation/com/Text.h"
#include "automation/server/Guids.h"

namespace tessaline::automation::server::testing {

const CLSID ExcelClass = {0x00024500, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const CLSID WordClass = {0x000209FF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

constexpr DWORD StartLimitMs = 30000;

void pump(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

}  // namespace

ServerProcess::ServerProcess(const std::string& content) {
    std::wstring commandLine =
        L"\"" + com::toUtf16(TESSALINE_OFFICE_EXE) + L"\" --content \"" + com::toUtf16(content) + L"\"";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&output_, &writeEnd, &inherit, 0)) {
        ADD_FAILURE() << "no pipe";
        return;
    }
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION info{};
    const BOOL ok =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    CloseHandle(writeEnd);
    if (!ok) {
        ADD_FAILURE() << "cannot start " << TESSALINE_OFFICE_EXE;
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    const DWORD started = GetTickCount();
    while (said_.find("ready\n") == std::string::npos && GetTickCount() - started < StartLimitMs) {
        output();
        if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) break;
        pump(20);
    }
    output();
    if (said_.find("ready\n") == std::string::npos) {
        ADD_FAILURE() << "the server did not get ready: " << said_;
        return;
    }
    ComPtr<IUnknown> unknown;
    if (FAILED(GetActiveObject(CLSID_TessalineOffice, nullptr, unknown.put()))) {
        ADD_FAILURE() << "Tessaline.Office is not in the running object table";
        return;
    }
    auto control = unknown.as<IDispatch>();
    const int answering = control ? get(control.get(), L"ProcessId").integer() : 0;
    if (answering != static_cast<int>(GetProcessId(process_))) {
        ADD_FAILURE() << "another tessaline-office.exe (process " << answering
                      << ") is registered in this prefix: the tests would drive it";
        return;
    }
    control_ = control;
}

std::string ServerProcess::output() {
    DWORD available = 0;
    while (output_ && PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[512];
        DWORD read = 0;
        if (!ReadFile(output_, buffer, std::min<DWORD>(available, sizeof buffer), &read, nullptr) || read == 0) break;
        for (DWORD i = 0; i < read; ++i) {
            if (buffer[i] != '\r') said_ += buffer[i];
        }
    }
    return said_;
}

DWORD ServerProcess::quit() {
    DWORD code = STILL_ACTIVE;
    if (control_) {
        (void)call(control_.get(), L"Quit", DISPATCH_METHOD);
        control_.reset();
    }
    if (process_) {
        const DWORD started = GetTickCount();
        while (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0 && GetTickCount() - started < 10000) pump(20);
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        GetExitCodeProcess(process_, &code);
        CloseHandle(process_);
        process_ = nullptr;
    }
    output();
    if (output_) CloseHandle(output_);
    output_ = nullptr;
    return code;
}

ServerProcess::~ServerProcess() { quit(); }

ComPtr<IDispatch> Reply::object() const {
    if (value.type() != VT_DISPATCH || !value.get()->pdispVal) return nullptr;
    return ComPtr<IDispatch>::share(value.get()->pdispVal);
}

int Reply::integer() const { return com::fromComVariant(*value.get()).toLong(); }

std::string Reply::text() const { return com::fromComVariant(*value.get()).toString(); }

Arg arg(int value) { return std::make_shared<ComVariant>(Variant(value)); }
Arg arg(bool value) { return std::make_shared<ComVariant>(Variant(value)); }
Arg arg(const wchar_t* text) { return std::make_shared<ComVariant>(Variant(com::toUtf8(std::wstring(text)))); }
Arg missing() { return std::make_shared<ComVariant>(ComVariant::missing()); }

namespace {

Reply invoke(IDispatch* object, DISPID id, const std::vector<DISPID>& namedIds, WORD flags,
             std::vector<Arg>& positional, std::vector<Arg>& named) {
    // rgvarg: the named arguments first, then the positional ones last to first.
    std::vector<VARIANT> args;
    std::vector<DISPID> ids = namedIds;
    for (auto& v : named) args.push_back(*v->get());
    for (auto it = positional.rbegin(); it != positional.rend(); ++it) args.push_back(*(*it)->get());
    DISPPARAMS params{args.data(), ids.empty() ? nullptr : ids.data(), static_cast<UINT>(args.size()),
                      static_cast<UINT>(ids.size())};
    Reply reply;
    EXCEPINFO info{};
    reply.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, reply.value.put(), &info, nullptr);
    if (reply.hr == DISP_E_EXCEPTION) {
        reply.scode = info.scode;
        reply.description = com::toUtf8(info.bstrDescription);
    }
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    return reply;
}

}  // namespace

Reply call(IDispatch* object, const std::wstring& member, WORD flags, std::vector<Arg> positional,
           std::vector<std::pair<std::wstring, Arg>> named) {
    std::vector<std::wstring> names{member};
    for (const auto& [name, value] : named) names.push_back(name);
    std::vector<LPOLESTR> raw;
    for (auto& n : names) raw.push_back(n.data());
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    Reply reply;
    reply.hr =
        object->GetIDsOfNames(IID_NULL, raw.data(), static_cast<UINT>(raw.size()), LOCALE_USER_DEFAULT, ids.data());
    if (FAILED(reply.hr)) return reply;
    std::vector<Arg> namedValues;
    for (auto& [name, value] : named) namedValues.push_back(value);
    return invoke(object, ids[0], std::vector<DISPID>(ids.begin() + 1, ids.end()), flags, positional, namedValues);
}

Reply get(IDispatch* object, const std::wstring& member, std::vector<Arg> positional) {
    return call(object, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, std::move(positional));
}

Reply put(IDispatch* object, const std::wstring& member, Arg value) {
    std::wstring name = member;
    LPOLESTR raw = name.data();
    DISPID id = DISPID_UNKNOWN;
    Reply reply;
    reply.hr = object->GetIDsOfNames(IID_NULL, &raw, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(reply.hr)) return reply;
    std::vector<Arg> none;
    std::vector<Arg> assigned{value};
    return invoke(object, id, {DISPID_PROPERTYPUT}, DISPATCH_PROPERTYPUT, none, assigned);
}

Reply callId(IDispatch* object, DISPID id, WORD flags, std::vector<Arg> positional) {
    std::vector<Arg> none;
    return invoke(object, id, {}, flags, positional, none);
}

ComPtr<IDispatch> object(IDispatch* from, const std::wstring& member, std::vector<Arg> positional) {
    if (!from) return nullptr;
    return get(from, member, std::move(positional)).object();
}

}  // namespace tessaline::automation::server::testing
