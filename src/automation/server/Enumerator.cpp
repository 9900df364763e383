#include "automation/server/Enumerator.h"

#include <new>

#include "automation/server/ObjectServer.h"

namespace tessaline::automation::server {

Enumerator::Enumerator(ObjectServer& server, std::shared_ptr<EnumSource> source, HostTag tag, std::size_t position)
    : server_(server), source_(std::move(source)), tag_(std::move(tag)), position_(position) {
    server_.objectCreated();
    server_.attach(this, tag_);
}

Enumerator::~Enumerator() {
    server_.detach(this);
    server_.objectDestroyed();
}

HRESULT Enumerator::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IEnumVARIANT) return E_NOINTERFACE;
    *out = static_cast<IEnumVARIANT*>(this);
    AddRef();
    return S_OK;
}

ULONG Enumerator::AddRef() { return refs_.add(); }

ULONG Enumerator::Release() { return refs_.release(this); }

HRESULT Enumerator::Next(ULONG count, VARIANT* items, ULONG* fetched) {
    if (fetched) *fetched = 0;
    if (!items || (count > 1 && !fetched)) return E_POINTER;
    ULONG done = 0;
    try {
        ObjectServer::CallScope scope(server_);
        for (; done < count && position_ < source_->size(); ++done, ++position_) {
            VariantInit(&items[done]);
            items[done].vt = VT_DISPATCH;
            items[done].pdispVal = server_.wrap(source_->at(position_), tag_).detach();
        }
    } catch (...) {
        for (ULONG i = 0; i < done; ++i) VariantClear(&items[i]);
        return E_FAIL;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT Enumerator::Skip(ULONG count) {
    const std::size_t size = source_->size();
    const bool enough = size - position_ >= count;
    position_ = enough ? position_ + count : size;
    return enough ? S_OK : S_FALSE;
}

HRESULT Enumerator::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT Enumerator::Clone(IEnumVARIANT** out) {
    if (!out) return E_POINTER;
    try {
        *out = new Enumerator(server_, source_, tag_, position_);
        return S_OK;
    } catch (const std::bad_alloc&) {
        *out = nullptr;
        return E_OUTOFMEMORY;
    }
}

}  // namespace tessaline::automation::server
