// The component server of a plug-in module: its server lock and live object counts, the class
// factory that creates its one object class, and the two exported entry points built on them.
// Both plug-ins use the same design, so it lives here once.
#pragma once

#include <atomic>
#include <new>

#include "platform/com.h"

namespace platform {

struct ServerCounters {
    std::atomic<int32_t> LockCount{0};
    std::atomic<int32_t> ObjectCount{0};

    bool CanUnload() const { return LockCount.load() == 0 && ObjectCount.load() == 0; }
};

// A member of each served object: counts it as live from construction to destruction.
class LiveObject {
public:
    explicit LiveObject(ServerCounters& counters) : counters_(counters) { ++counters_.ObjectCount; }
    ~LiveObject() { --counters_.ObjectCount; }
    LiveObject(const LiveObject&) = delete;
    LiveObject& operator=(const LiveObject&) = delete;

private:
    ServerCounters& counters_;
};

// Object must be constructible from ServerCounters& and start with one reference.
template <typename Object>
class PlugInClassFactory final : public ComObject<IClassFactory> {
public:
    explicit PlugInClassFactory(ServerCounters& counters) : counters_(counters) {}

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        Object* created = new (std::nothrow) Object(counters_);
        if (created == nullptr) {
            return E_OUTOFMEMORY;
        }
        // A failed query destroys the new object again with the creation reference.
        const HRESULT hr = created->QueryInterface(iid, object);
        created->Release();
        return hr;
    }

    HRESULT LockServer(BOOL lock) override {
        if (lock) {
            ++counters_.LockCount;
        } else {
            --counters_.LockCount;
        }
        return S_OK;
    }

private:
    ServerCounters& counters_;
};

// The body of DllGetClassObject for a module serving one class.
template <typename Object>
HRESULT GetClassObject(REFCLSID requested, REFCLSID served, REFIID iid, void** object,
                       ServerCounters& counters) {
    if (object != nullptr) {
        *object = nullptr;
    }
    if (!(requested == served)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* factory = new (std::nothrow) PlugInClassFactory<Object>(counters);
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

}  // namespace platform
