#pragma once

#include <oaidl.h>
#include <windows.h>

#include <memory>

#include "automation/com/RefCount.h"
#include "automation/server/Dispatch.h"

namespace tessaline::automation::server {

// For Each over a served collection: the items as they were when the enumeration began, each made into its
// served object when Next reaches it (a range of a whole column does not become 65536 objects at once).
class Enumerator final : public IEnumVARIANT {
public:
    Enumerator(ObjectServer& server, std::shared_ptr<EnumSource> source, HostTag tag, std::size_t position = 0);
    Enumerator(const Enumerator&) = delete;
    Enumerator& operator=(const Enumerator&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override;

private:
    friend class com::RefCount;  // the last Release deletes
    ~Enumerator();

    ObjectServer& server_;
    std::shared_ptr<EnumSource> source_;
    HostTag tag_;
    std::size_t position_;
    com::RefCount refs_;
};

}  // namespace tessaline::automation::server
