#include "automation/server/RunningObjects.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <set>

#include "automation/Excel.h"
#include "automation/OfficeMachine.h"
#include "automation/com/Text.h"
#include "automation/server/ObjectServer.h"

namespace tessaline::automation::server {

namespace {

// Office's own classes, so a client finds the in-memory Office exactly where it would find Office.
constexpr CLSID ExcelClass = {0x00024500, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr CLSID WordClass = {0x000209FF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr CLSID PowerPointClass = {0x91493441, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}};
constexpr CLSID AccessClass = {0x73A4C9C1, 0xD68D, 0x11D0, {0x98, 0xBF, 0x00, 0xA0, 0xC9, 0x0D, 0xC8, 0xD9}};
constexpr CLSID OutlookClass = {0x0006F03A, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

const void* identity(const ObjectPtr& object) { return object ? dynamic_cast<const void*>(object.get()) : nullptr; }

}  // namespace

const char* const RunningObjects::HostKeys[5] = {"Excel", "Word", "PowerPoint", "Access", "Outlook"};

const CLSID* RunningObjects::classOf(const std::string& hostKey) {
    if (hostKey == "Excel") return &ExcelClass;
    if (hostKey == "Word") return &WordClass;
    if (hostKey == "PowerPoint") return &PowerPointClass;
    if (hostKey == "Access") return &AccessClass;
    if (hostKey == "Outlook") return &OutlookClass;
    return nullptr;
}

RunningObjects::RunningObjects(ObjectServer& server, OfficeMachine& machine) : server_(server), machine_(machine) {
    if (FAILED(GetRunningObjectTable(0, table_.put()))) table_.reset();
}

RunningObjects::~RunningObjects() { revokeAll(); }

void RunningObjects::sync() {
    syncHosts();
    syncWorkbooks();
}

void RunningObjects::syncHosts() {
    for (const char* key : HostKeys) {
        Host& host = hosts_[key];
        const ObjectPtr application = machine_.host(key);
        const void* now = identity(application);
        if (now == host.application) continue;
        if (host.cookie != 0) {
            RevokeActiveObject(host.cookie, nullptr);
            host.cookie = 0;
        }
        if (host.application) server_.hostEnded(key);
        host.application = now;
        if (!application) continue;
        const auto served = server_.wrap(application, server_.tagFor(key));
        if (FAILED(RegisterActiveObject(served.get(), *classOf(key), ACTIVEOBJECT_STRONG, &host.cookie))) {
            host.cookie = 0;
            if (!reportedFailure_) std::fprintf(stderr, "tessaline-office: cannot register %s as running\n", key);
            reportedFailure_ = true;
        }
    }
}

void RunningObjects::syncWorkbooks() {
    std::map<const void*, WorkbookPtr> open;
    if (const auto excel = std::dynamic_pointer_cast<ExcelApplication>(machine_.host("Excel"))) {
        for (const auto& book : excel->Workbooks()->Enumerate()) open[identity(book)] = book;
    }
    // Revoked first: a workbook saved under a new name leaves its old moniker before taking the new one.
    for (auto it = books_.begin(); it != books_.end();) {
        const auto now = open.find(it->first);
        if (now != open.end() && now->second->FullName() == it->second.fullName) {
            ++it;
            continue;
        }
        if (table_ && it->second.cookie != 0) table_->Revoke(it->second.cookie);
        it = books_.erase(it);
    }
    if (!table_) return;
    for (const auto& [key, book] : open) {
        if (books_.count(key)) continue;
        Book entry{book->FullName(), 0};
        com::ComPtr<IMoniker> moniker;
        if (SUCCEEDED(CreateFileMoniker(com::toUtf16(entry.fullName).c_str(), moniker.put()))) {
            const auto served = server_.wrap(book, server_.tagFor("Excel"));
            if (FAILED(table_->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, served.get(), moniker.get(), &entry.cookie))) {
                entry.cookie = 0;
            }
        }
        books_[key] = std::move(entry);
    }
}

void RunningObjects::revokeAll() {
    for (auto& [key, book] : books_) {
        if (table_ && book.cookie != 0) table_->Revoke(book.cookie);
    }
    books_.clear();
    for (auto& [key, host] : hosts_) {
        if (host.cookie != 0) RevokeActiveObject(host.cookie, nullptr);
        host.cookie = 0;
        if (host.application) server_.hostEnded(key);
        host.application = nullptr;
    }
}

}  // namespace tessaline::automation::server
