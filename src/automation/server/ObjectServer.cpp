#include "automation/server/ObjectServer.h"

#include <objbase.h>

#include <vector>

#include "automation/OfficeMachine.h"
#include "automation/server/DispatchObject.h"
#include "automation/server/OfficeTypes.h"

namespace tessaline::automation::server {

namespace {

std::string ownerOf(const std::string& hostKey) { return hostKey == "VBE" ? "Excel" : hostKey; }

}  // namespace

ObjectServer::ObjectServer(OfficeMachine& machine) : machine_(machine) {}

ObjectServer::~ObjectServer() = default;

com::ComPtr<IDispatch> ObjectServer::wrap(const ObjectPtr& object, const HostTag& tag) {
    if (!object) return nullptr;
    // A control is reached as a button, a popup or a plain control: the most derived address is the one
    // identity of the object.
    const void* key = dynamic_cast<const void*>(object.get());
    const auto it = served_.find(key);
    if (it != served_.end() && it->second->tag().generation == tagFor(it->second->tag().key).generation) {
        return com::ComPtr<IDispatch>::share(it->second);
    }
    auto* served = new DispatchObject(*this, object, tableFor(*object), tag, true);
    served_[key] = served;
    return com::ComPtr<IDispatch>::adopt(served);
}

com::ComPtr<IDispatch> ObjectServer::serveApart(ObjectPtr object, const TypeTable& type) {
    return com::ComPtr<IDispatch>::adopt(new DispatchObject(*this, std::move(object), type, HostTag{}, false));
}

void ObjectServer::forget(DispatchObject* object) {
    if (!object->target()) return;
    const auto it = served_.find(dynamic_cast<const void*>(object->target().get()));
    if (it != served_.end() && it->second == object) served_.erase(it);
}

HostTag ObjectServer::tagFor(const std::string& hostKey) const {
    const std::string owner = ownerOf(hostKey);
    const auto it = generations_.find(owner);
    return {owner, it == generations_.end() ? 0 : it->second};
}

void ObjectServer::hostEnded(const std::string& hostKey) {
    const HostTag ended = tagFor(hostKey);
    ++generations_[ended.key];
    std::erase_if(clickCookies_, [&](const auto& entry) { return entry.first == ended.key; });
    // Held while they are cut off, as disconnecting drops the references their clients had.
    std::vector<com::ComPtr<IUnknown>> cut;
    for (const auto& [key, object] : served_) {
        if (object->tag().key == ended.key && object->tag().generation == ended.generation) {
            cut.push_back(com::ComPtr<IUnknown>::share(static_cast<IDispatch*>(object)));
        }
    }
    for (const auto& [helper, tag] : helpers_) {
        if (tag.key == ended.key && tag.generation == ended.generation)
            cut.push_back(com::ComPtr<IUnknown>::share(helper));
    }
    for (const auto& object : cut) CoDisconnectObject(object.get(), 0);
}

void ObjectServer::clickConnected(const HostTag& tag, int cookie) { clickCookies_.insert({tag.key, cookie}); }

bool ObjectServer::clickDisconnected(const HostTag& tag, int cookie) {
    return clickCookies_.erase({tag.key, cookie}) != 0;
}

std::string ObjectServer::sourceFor(const HostTag& tag) {
    if (tag.key.empty()) return "Tessaline.Office";
    return "Microsoft " + tag.key;
}

ObjectServer::CallScope::CallScope(ObjectServer& server) : server_(server) { ++server_.depth_; }

ObjectServer::CallScope::~CallScope() {
    if (--server_.depth_ == 0 && server_.afterCalls_) {
        ++server_.depth_;  // what the follow-up does is no call of its own
        try {
            server_.afterCalls_();
        } catch (...) {
            // The desktop catches up after the next call; the call that just ended has its answer already.
        }
        --server_.depth_;
    }
}

}  // namespace tessaline::automation::server
