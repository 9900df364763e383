#include "automation/server/OfficeServer.h"

#include <filesystem>

#include "automation/server/ControlChannel.h"
#include "automation/server/Guids.h"
#include "automation/server/Registration.h"
#include "automation/sim/SimOffice.h"

namespace tessaline::automation::server {

namespace {

constexpr const char* AllHosts[] = {"VBE", "Excel", "Word", "PowerPoint", "Access", "Outlook"};

}  // namespace

OfficeServer::OfficeServer(std::unique_ptr<sim::SimOffice> office)
    : office_(std::move(office)), objects_(*office_), running_(objects_, *office_), windows_(*office_) {
    objects_.setAfterCalls([this] { sync(); });
    // A window changed the Office: the rest follows once no client call is under way (a scope of its own
    // when none is, so it happens at once).
    windows_.setOnChange([this] { ObjectServer::CallScope scope(objects_); });
}

OfficeServer::~OfficeServer() { stop(); }

void OfficeServer::sync() {
    if (stopped_) return;
    running_.sync();
    windows_.sync();
}

std::string OfficeServer::start(const std::wstring& module) {
    std::string problems;
    if (std::string p = registerProgIds(); !p.empty()) problems += p + "\n";
    const std::wstring besides = (std::filesystem::path(module).parent_path() / L"OfficeEvents.tlb").wstring();
    if (std::string p = registerEventLibrary(module, besides); !p.empty()) problems += p + "\n";

    static const TypeTable& controlTable = ControlChannel::table();
    control_ = objects_.serveApart(
        std::make_shared<ControlChannel>(*office_, objects_, windows_, [] { PostQuitMessage(0); }), controlTable);
    if (FAILED(RegisterActiveObject(control_.get(), CLSID_TessalineOffice, ACTIVEOBJECT_STRONG, &controlCookie_))) {
        controlCookie_ = 0;
        problems += "cannot register Tessaline.Office as running\n";
    }
    sync();
    return problems;
}

void OfficeServer::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void OfficeServer::stop() {
    if (stopped_) return;
    stopped_ = true;
    if (controlCookie_ != 0) RevokeActiveObject(controlCookie_, nullptr);
    controlCookie_ = 0;
    if (control_) CoDisconnectObject(control_.get(), 0);
    control_.reset();
    running_.revokeAll();
    windows_.destroyAll();
    // The hosts go while COM still runs: their click connections hold the clients' sinks.
    for (const char* key : AllHosts) office_->stopHost(key);
}

}  // namespace tessaline::automation::server
