#include "automation/com/RemoteOffice.h"

#include <oleauto.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "automation/AutomationError.h"
#include "automation/com/ComHosts.h"
#include "automation/com/Text.h"

namespace tessaline::automation::com {

namespace {

constexpr const char* controlProgId = "Tessaline.Office";
constexpr const char* hostKeys[] = {"Excel", "Word", "PowerPoint", "Access", "Outlook", "VBE"};

// Host keys ignore case, as the in-memory Office's do; an unknown key is passed on as it is.
std::string canonicalKey(const std::string& key) {
    for (const char* k : hostKeys) {
        const std::string known = k;
        if (known.size() != key.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < key.size() && same; ++i) {
            same =
                std::tolower(static_cast<unsigned char>(known[i])) == std::tolower(static_cast<unsigned char>(key[i]));
        }
        if (same) return known;
    }
    return key;
}

std::wstring quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
        } else {
            if (c == L'"') out.append(backslashes + 1, L'\\');
            backslashes = 0;
        }
        out += c;
    }
    out.append(backslashes, L'\\');
    return out + L"\"";
}

// Waits while letting COM and window messages through, as an STA must.
void pumpFor(DWORD ms, HANDLE handle) {
    const DWORD until = GetTickCount() + ms;
    for (;;) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(until - now) <= 0) return;
        const DWORD result =
            MsgWaitForMultipleObjects(handle ? 1 : 0, handle ? &handle : nullptr, FALSE, until - now, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0 && handle) return;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (result == WAIT_TIMEOUT) return;
    }
}

}  // namespace

std::string RemoteOffice::defaultServerPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    path = (slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1)) + L"tessaline-office.exe";
    return toUtf8(path);
}

RemoteOffice::RemoteOffice(Options options)
    : desktop_(
          std::make_unique<ComDesktop>([this](const std::string& keys) { sentKeys_.push_back(keys); }, options.keys)) {
    desktop_->apartment().setCallLimitMs(options.callLimitMs);
    // Two servers would share the one registration, and this machine would drive whichever came first.
    if (liveControl()) {
        throw std::runtime_error("another tessaline-office.exe is already running here; quit it first");
    }
    launch(options);
    // A server stuck in a call is ended, so that the call fails instead of holding the tool (see
    // ComApartment: under wine a cancelled call goes on waiting).
    desktop_->apartment().setOverdueHandler([process = process_, limit = options.callLimitMs] {
        // Told where a person reading a failed run looks: every later call only says the server is gone.
        std::fprintf(stderr, "tessaline-office.exe answered nothing for %lu s and was ended\n",
                     static_cast<unsigned long>(limit / 1000));
        TerminateProcess(process, 2);
    });
    try {
        waitUntilRegistered(options.startLimitMs);
    } catch (...) {
        shutDown();
        throw;
    }
}

RemoteOffice::~RemoteOffice() { shutDown(); }

void RemoteOffice::launch(const Options& options) {
    const std::string server = options.serverPath.empty() ? defaultServerPath() : options.serverPath;
    std::wstring commandLine = quoted(toUtf16(server));
    if (!options.contentFolder.empty()) commandLine += L" --content " + quoted(toUtf16(options.contentFolder));

    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&output_, &writeEnd, &inherit, 0)) throw std::runtime_error("cannot make a pipe for " + server);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    // The server goes with this process even when it is killed (a test run's timeout, say): a server left
    // running would keep the registration, and every later start would meet it.
    job_ = CreateJobObjectW(nullptr, nullptr);
    if (job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                                        nullptr, &startup, &info);
    const DWORD error = GetLastError();
    CloseHandle(writeEnd);  // the server holds the only write end now: its exit ends the reader
    if (!started) {
        CloseHandle(output_);
        output_ = nullptr;
        if (job_) CloseHandle(job_);
        job_ = nullptr;
        throw std::runtime_error("cannot start " + server + " (error " + std::to_string(error) + ")");
    }
    if (job_) AssignProcessToJobObject(job_, info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    // The server's output is drained all along, so that it never blocks on a full pipe.
    reader_ = std::thread([this] {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(output_, buffer, sizeof buffer, &read, nullptr) && read > 0) {
            const std::lock_guard<std::mutex> lock(outputMutex_);
            outputText_.append(buffer, read);
        }
    });
}

std::string RemoteOffice::serverOutput() {
    const std::lock_guard<std::mutex> lock(outputMutex_);
    std::string out;
    std::size_t start = 0;
    while (start < outputText_.size()) {
        std::size_t end = outputText_.find('\n', start);
        if (end == std::string::npos) end = outputText_.size();
        std::string line = outputText_.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        // The server names itself before a failure; the reason is what the in-memory Office would raise.
        constexpr std::string_view self = "tessaline-office: ";
        if (line.rfind(self, 0) == 0) line.erase(0, self.size());
        if (!line.empty() && line != "ready") {
            if (!out.empty()) out += '\n';
            out += line;
        }
        start = end + 1;
    }
    return out;
}

Dispatch RemoteOffice::liveControl() {
    try {
        Dispatch control(activeObject(controlProgId),
                         std::make_shared<ComContext>(ComContext{"Tessaline", desktop_->session()}), "Office", nullptr);
        // A registration left behind by a server that died answers nothing: only a live one counts.
        (void)control.getInt("LiveObjects");
        return control;
    } catch (const AutomationError&) {
        return Dispatch();
    }
}

void RemoteOffice::waitUntilRegistered(DWORD limitMs) {
    const DWORD started = GetTickCount();
    for (;;) {
        if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process_, &code);
            if (reader_.joinable()) reader_.join();
            const std::string said = serverOutput();
            throw std::runtime_error(
                said.empty() ? "tessaline-office.exe stopped with exit code " + std::to_string(code) : said);
        }
        if (Dispatch control = liveControl()) {
            // Only our own server will do: one started beside it in this prefix meanwhile would be another's.
            if (static_cast<DWORD>(control.getInt("ProcessId")) != processId_) {
                throw std::runtime_error("another tessaline-office.exe registered in place of the one started here");
            }
            control_ = std::move(control);
            return;
        }
        if (GetTickCount() - started >= limitMs) {
            throw std::runtime_error("tessaline-office.exe did not register within " + std::to_string(limitMs / 1000) +
                                     " s");
        }
        pumpFor(50, process_);
    }
}

void RemoteOffice::shutDown() {
    if (control_) {
        // A server stuck in Quit is ended by the overdue handler, sooner than a stuck call of the tool.
        desktop_->apartment().setCallLimitMs(std::min<DWORD>(desktop_->apartment().callLimitMs(), 5000));
        try {
            control_.call("Quit");
        } catch (const std::exception&) {
            // A server that is gone or stuck is dealt with below.
        }
        control_ = Dispatch();
    }
    desktop_->apartment().setOverdueHandler({});  // it holds the process handle closed below
    if (process_) {
        const DWORD started = GetTickCount();
        while (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0 && GetTickCount() - started < 10000) {
            pumpFor(50, process_);
        }
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
        process_ = nullptr;
    }
    if (job_) {
        CloseHandle(job_);
        job_ = nullptr;
    }
    if (reader_.joinable()) reader_.join();
    if (output_) {
        CloseHandle(output_);
        output_ = nullptr;
    }
}

// ---- Desktop ----

ObjectPtr RemoteOffice::GetObject(const std::string& progId) { return desktop_->GetObject(progId); }
ObjectPtr RemoteOffice::CreateObject(const std::string& progId) { return desktop_->CreateObject(progId); }
WindowHandle RemoteOffice::FindWindow(const std::string& className) { return desktop_->FindWindow(className); }
bool RemoteOffice::ShowWindow(WindowHandle window, int command) { return desktop_->ShowWindow(window, command); }
bool RemoteOffice::SetForegroundWindow(WindowHandle window) { return desktop_->SetForegroundWindow(window); }

// ---- Test hooks, through the control object ----

bool RemoteOffice::isInstalled(const std::string& hostKey) {
    return control_.getBool("IsInstalled", Args().add(Variant(canonicalKey(hostKey))));
}

bool RemoteOffice::isRunning(const std::string& hostKey) {
    return control_.getBool("IsRunning", Args().add(Variant(canonicalKey(hostKey))));
}

bool RemoteOffice::startHost(const std::string& hostKey) {
    return valueOf(control_.call("StartHost", Args().add(Variant(canonicalKey(hostKey))))).toBool();
}

void RemoteOffice::stopHost(const std::string& hostKey) {
    control_.call("StopHost", Args().add(Variant(canonicalKey(hostKey))));
}

ObjectPtr RemoteOffice::host(const std::string& hostKey) {
    const std::string key = canonicalKey(hostKey);
    return wrapApplication(control_.getObject("Host", Args().add(Variant(key))), key, desktop_->session());
}

void RemoteOffice::setOutlookExplorer(bool open) { control_.call("SetOutlookExplorer", Args().add(Variant(open))); }

WindowHandle RemoteOffice::hostWindow(const std::string& hostKey) {
    return control_.getInt("HostWindow", Args().add(Variant(canonicalKey(hostKey))));
}

WindowHandle RemoteOffice::foregroundWindow() { return control_.getInt("ForegroundWindow"); }

int RemoteOffice::windowShowState(WindowHandle window) {
    return control_.getInt("WindowShowState", Args().add(Variant(static_cast<int>(window))));
}

bool RemoteOffice::windowVisible(WindowHandle window) {
    return control_.getBool("WindowVisible", Args().add(Variant(static_cast<int>(window))));
}

std::string RemoteOffice::windowClass(WindowHandle window) {
    return control_.getString("WindowClass", Args().add(Variant(static_cast<int>(window))));
}

std::vector<std::string> RemoteOffice::strings(const char* member) {
    ComVariant result = control_.get(member);
    std::vector<std::string> out;
    const VARIANT& v = *result.get();
    if (v.vt == VT_EMPTY || v.vt == VT_NULL) return out;
    if (!(v.vt & VT_ARRAY) || !v.parray || SafeArrayGetDim(v.parray) != 1) throw typeMismatch();
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(v.parray, 1, &lower);
    SafeArrayGetUBound(v.parray, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        ComVariant item;
        if ((v.vt & VT_TYPEMASK) == VT_VARIANT) {
            if (FAILED(SafeArrayGetElement(v.parray, &i, item.put()))) throw typeMismatch();
        } else if ((v.vt & VT_TYPEMASK) == VT_BSTR) {
            BSTR text = nullptr;
            if (FAILED(SafeArrayGetElement(v.parray, &i, &text))) throw typeMismatch();
            VARIANT* slot = item.put();
            slot->vt = VT_BSTR;
            slot->bstrVal = text;
        } else {
            throw typeMismatch();
        }
        out.push_back(fromComVariant(*item.get()).toString());
    }
    return out;
}

std::vector<std::string> RemoteOffice::sentKeys() { return sentKeys_; }
std::vector<std::string> RemoteOffice::actionLog() { return strings("ActionLog"); }
void RemoteOffice::clearActionLog() { control_.call("ClearActionLog"); }

bool RemoteOffice::clickButton(const std::string& hostKey, const std::string& barName,
                               const std::vector<int>& indexPath) {
    std::string path;
    for (const int index : indexPath) {
        if (!path.empty()) path += '.';
        path += std::to_string(index);
    }
    try {
        return valueOf(
                   control_.call("ClickButton",
                                 Args().add(Variant(canonicalKey(hostKey))).add(Variant(barName)).add(Variant(path))))
            .toBool();
    } catch (const AutomationError& e) {
        // The server refuses a path that leads nowhere with its reason, as the in-memory Office throws it.
        throw std::out_of_range(e.description());
    }
}

int RemoteOffice::liveObjects() { return control_.getInt("LiveObjects"); }

}  // namespace tessaline::automation::com
