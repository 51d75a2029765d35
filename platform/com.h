// The component object basics of the host: GUIDs, IUnknown and IClassFactory as abstract structs in
// slot order, one template that gives our objects reference counting and QueryInterface, and
// ComPtr for references held in our own code.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <tuple>
#include <utility>

#include "platform/result.h"

namespace platform {

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];

    friend constexpr bool operator==(const GUID& a, const GUID& b) {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) {
            return false;
        }
        for (int i = 0; i < 8; ++i) {
            if (a.Data4[i] != b.Data4[i]) {
                return false;
            }
        }
        return true;
    }
};
static_assert(sizeof(GUID) == 16);

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using ULONG = uint32_t;

constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Interfaces have no virtual destructor: an object is destroyed by its own Release, never through
// an interface pointer, so the slot table holds exactly the host's methods.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IUnknown {
    static constexpr const IID& Iid = IID_IUnknown;
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};

struct IClassFactory : IUnknown {
    static constexpr const IID& Iid = IID_IClassFactory;
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;
};
#pragma GCC diagnostic pop

// Reference counting and QueryInterface for an object implementing Interfaces (each with a static
// Iid). The count starts at 1: the creator owns the first reference. QueryInterface answers
// IID_IUnknown and exactly the listed interface ids, nothing inherited by the interfaces.
template <typename... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = iid == IID_IUnknown ? static_cast<IUnknown*>(static_cast<FirstInterface*>(this))
                                      : FindInterface(iid);
        if (*object == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    ULONG AddRef() override { return refCount_.fetch_add(1, std::memory_order_relaxed) + 1; }

    ULONG Release() override {
        const ULONG count = refCount_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (count == 0) {
            delete this;
        }
        return count;
    }

protected:
    virtual ~ComObject() = default;

private:
    void* FindInterface(REFIID iid) {
        void* found = nullptr;
        ((found == nullptr && iid == Interfaces::Iid ? (void)(found = static_cast<Interfaces*>(this))
                                                     : (void)0),
         ...);
        return found;
    }

    using FirstInterface = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    std::atomic<ULONG> refCount_{1};
};

// An owned reference. Never built implicitly from a raw pointer: Adopt takes over a reference the
// caller owns, Retain adds one. Put releases what it holds before handing out its address.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) { AddRefIfAny(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other) {
        if (this != &other) {
            ComPtr copy(other);
            Swap(copy);
        }
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr moved(std::move(other));
        Swap(moved);
        return *this;
    }

    static ComPtr Adopt(T* ptr) {
        ComPtr result;
        result.ptr_ = ptr;
        return result;
    }
    static ComPtr Retain(T* ptr) {
        ComPtr result;
        result.ptr_ = ptr;
        result.AddRefIfAny();
        return result;
    }

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    // For out parameters of the host's form T**: releases the current reference first.
    T** Put() {
        Reset();
        return &ptr_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    T* Detach() { return std::exchange(ptr_, nullptr); }
    void Reset() {
        if (T* old = std::exchange(ptr_, nullptr)) {
            old->Release();
        }
    }
    void Swap(ComPtr& other) noexcept { std::swap(ptr_, other.ptr_); }

    // Queries the held object for another interface; an empty pointer when it does not answer.
    template <typename U>
    ComPtr<U> As() const {
        ComPtr<U> result;
        if (ptr_ != nullptr) {
            ptr_->QueryInterface(U::Iid, result.PutVoid());
        }
        return result;
    }

private:
    void AddRefIfAny() {
        if (ptr_ != nullptr) {
            ptr_->AddRef();
        }
    }
    T* ptr_ = nullptr;
};

}  // namespace platform
