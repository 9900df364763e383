#include "automation/server/ControlChannel.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <stdexcept>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/OfficeMachine.h"
#include "automation/com/Text.h"
#include "automation/server/HostWindows.h"
#include "automation/server/ObjectServer.h"

namespace tessaline::automation::server {

namespace {

// "1.2" -> {1, 2}: the controls by index from the bar down through its popups.
std::vector<int> indexPath(const std::string& text) {
    std::vector<int> path;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t dot = std::min(text.find('.', start), text.size());
        const std::string part = text.substr(start, dot - start);
        if (part.empty() || part.size() > 6 || part.find_first_not_of("0123456789") != std::string::npos) {
            throw ComFailure(E_INVALIDARG, "Index path \"" + text + "\" is not numbers separated by dots");
        }
        path.push_back(std::stoi(part));
        start = dot + 1;
    }
    return path;
}

void resultTexts(Call& c, const std::vector<std::string>& texts) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(texts.size()), 0};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (!array) throw std::bad_alloc();
    for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
        VARIANT item;
        VariantInit(&item);
        item.vt = VT_BSTR;
        item.bstrVal = com::Bstr(texts[static_cast<std::size_t>(i)]).detach();
        SafeArrayPutElement(array, &i, &item);
        VariantClear(&item);
    }
    VARIANT out;
    VariantInit(&out);
    out.vt = VT_ARRAY | VT_VARIANT;
    out.parray = array;
    c.resultRaw(out);
}

}  // namespace

ControlChannel::ControlChannel(OfficeMachine& machine, ObjectServer& server, HostWindows& windows,
                               std::function<void()> quit)
    : machine_(machine), server_(server), windows_(windows), quit_(std::move(quit)) {}

const TypeTable& ControlChannel::table() {
    using C = ControlChannel;
    static const TypeTable table =
        TypeBuilder<C>("Office")
            .method("IsInstalled", {"Host"}, [](C& o, Call& c) { c.result(o.machine_.isInstalled(c.text(0))); })
            .method("IsRunning", {"Host"}, [](C& o, Call& c) { c.result(o.machine_.isRunning(c.text(0))); })
            .method("StartHost", {"Host"}, [](C& o, Call& c) { c.result(o.machine_.startHost(c.text(0))); })
            .method("StopHost", {"Host"}, [](C& o, Call& c) { o.machine_.stopHost(c.text(0)); })
            .method("Host", {"Host"},
                    [](C& o, Call& c) {
                        const std::string key = c.text(0);
                        const ObjectPtr host = o.machine_.host(key);
                        VARIANT out;
                        VariantInit(&out);
                        out.vt = VT_DISPATCH;
                        out.pdispVal = host ? o.server_.wrap(host, o.server_.tagFor(key)).detach() : nullptr;
                        c.resultRaw(out);
                    })
            .method("SetOutlookExplorer", {"Open"},
                    [](C& o, Call& c) { o.machine_.setOutlookExplorer(c.boolValue(0)); })
            .method("HostWindow", {"Host"},
                    [](C& o, Call& c) { c.result(o.windows_.reported(o.machine_.hostWindow(c.text(0)))); })
            .method("ForegroundWindow",
                    [](C& o, Call& c) { c.result(o.windows_.reported(o.machine_.foregroundWindow())); })
            .method(
                "WindowShowState", {"Hwnd"},
                [](C& o, Call& c) { c.result(o.machine_.windowShowState(o.windows_.officeHandle(c.longValue(0)))); })
            .method("WindowVisible", {"Hwnd"},
                    [](C& o, Call& c) { c.result(o.machine_.windowVisible(o.windows_.officeHandle(c.longValue(0)))); })
            .method("WindowClass", {"Hwnd"},
                    [](C& o, Call& c) { c.result(o.machine_.windowClass(o.windows_.officeHandle(c.longValue(0)))); })
            .method("SentKeys", [](C& o, Call& c) { resultTexts(c, o.machine_.sentKeys()); })
            .method("ActionLog", [](C& o, Call& c) { resultTexts(c, o.machine_.actionLog()); })
            .method("ClearActionLog", [](C& o, Call&) { o.machine_.clearActionLog(); })
            .method("ClickButton", {"Host", "BarName", "IndexPath"},
                    [](C& o, Call& c) {
                        const std::vector<int> path = indexPath(c.text(2));
                        try {
                            c.result(o.machine_.clickButton(c.text(0), c.text(1), path));
                        } catch (const std::out_of_range& e) {
                            throw ComFailure(DISP_E_BADINDEX, e.what());
                        }
                    })
            .method("LiveObjects", [](C& o, Call& c) { c.result(o.server_.liveObjects()); })
            // Which server answers: a client that started one can tell it from another registered in the
            // same session.
            .method("ProcessId", [](C&, Call& c) { c.result(static_cast<int>(GetCurrentProcessId())); })
            .method("Quit", [](C& o, Call&) { o.quit_(); })
            .build();
    return table;
}

}  // namespace tessaline::automation::server
