#include "platform/com.h"

#include <gtest/gtest.h>

#include "platform/class_factory.h"

namespace {

using namespace platform;

constexpr IID IID_IFirst = {0x11111111, 1, 1, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID IID_ISecond = {0x22222222, 2, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID IID_IUnanswered = {0x33333333, 3, 3, {1, 2, 3, 4, 5, 6, 7, 8}};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IFirst : IUnknown {
    static constexpr const IID& Iid = IID_IFirst;
    virtual int First() = 0;
};
struct ISecond : IUnknown {
    static constexpr const IID& Iid = IID_ISecond;
    virtual int Second() = 0;
};
#pragma GCC diagnostic pop

int destroyed = 0;

class Both final : public ComObject<IFirst, ISecond> {
public:
    explicit Both(ServerCounters& counters) : live_(counters) {}
    ~Both() override { ++destroyed; }
    int First() override { return 1; }
    int Second() override { return 2; }

private:
    LiveObject live_;
};

ULONG CountOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

TEST(ComObject, CountsReferencesAndDestroysAtZero) {
    ServerCounters counters;
    destroyed = 0;
    auto* object = new Both(counters);
    EXPECT_EQ(1, counters.ObjectCount.load());
    EXPECT_EQ(2u, object->AddRef());
    EXPECT_EQ(1u, object->Release());
    EXPECT_EQ(0, destroyed);
    EXPECT_EQ(0u, object->Release());
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(0, counters.ObjectCount.load());
}

TEST(ComObject, QueryInterfaceAnswersExactlyTheListedInterfaces) {
    ServerCounters counters;
    auto holder = ComPtr<IFirst>::Adopt(new Both(counters));

    void* unknown = nullptr;
    ASSERT_EQ(S_OK, holder->QueryInterface(IID_IUnknown, &unknown));
    void* second = nullptr;
    ASSERT_EQ(S_OK, holder->QueryInterface(IID_ISecond, &second));
    EXPECT_EQ(2, static_cast<ISecond*>(second)->Second());
    // IUnknown is always the same pointer, whichever interface it is asked from.
    void* unknownAgain = nullptr;
    ASSERT_EQ(S_OK, static_cast<ISecond*>(second)->QueryInterface(IID_IUnknown, &unknownAgain));
    EXPECT_EQ(unknown, unknownAgain);
    EXPECT_EQ(4u, CountOf(holder.Get()));
    static_cast<IUnknown*>(unknown)->Release();
    static_cast<IUnknown*>(unknownAgain)->Release();
    static_cast<ISecond*>(second)->Release();

    void* none = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(E_NOINTERFACE, holder->QueryInterface(IID_IUnanswered, &none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(1u, CountOf(holder.Get()));
    EXPECT_EQ(E_POINTER, holder->QueryInterface(IID_IFirst, nullptr));
}

TEST(ComPtr, AdoptRetainPutAndAs) {
    ServerCounters counters;
    destroyed = 0;
    IFirst* raw = new Both(counters);
    {
        auto adopted = ComPtr<IFirst>::Adopt(raw);
        EXPECT_EQ(1u, CountOf(raw));
        auto retained = ComPtr<IFirst>::Retain(raw);
        EXPECT_EQ(2u, CountOf(raw));
        ComPtr<ISecond> second = adopted.As<ISecond>();
        ASSERT_TRUE(second);
        EXPECT_EQ(3u, CountOf(raw));
        EXPECT_FALSE(adopted.As<IClassFactory>());
        EXPECT_EQ(3u, CountOf(raw));

        ComPtr<IFirst> copy = retained;
        EXPECT_EQ(4u, CountOf(raw));
        ComPtr<IFirst> moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(4u, CountOf(raw));
        // Put releases the held reference before handing out its address.
        moved.Put();
        EXPECT_FALSE(moved);
        EXPECT_EQ(3u, CountOf(raw));
    }
    EXPECT_EQ(1, destroyed);
}

TEST(PlugInClassFactory, CreatesCountedObjectsAndRefusesAggregation) {
    ServerCounters counters;
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, GetClassObject<Both>(IID_IFirst, IID_IFirst, IID_IClassFactory,
                                         factory.PutVoid(), counters));
    EXPECT_EQ(1u, CountOf(factory.Get()));

    void* object = reinterpret_cast<void*>(0x1);
    auto* outer = reinterpret_cast<IUnknown*>(factory.Get());
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IFirst, &object));
    EXPECT_EQ(nullptr, object);

    destroyed = 0;
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IUnanswered, &object));
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(0, counters.ObjectCount.load());

    ComPtr<ISecond> created;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_ISecond, created.PutVoid()));
    EXPECT_EQ(1u, CountOf(created.Get()));
    EXPECT_FALSE(counters.CanUnload());
    created.Reset();
    EXPECT_TRUE(counters.CanUnload());

    factory->LockServer(TRUE);
    EXPECT_FALSE(counters.CanUnload());
    factory->LockServer(FALSE);
    EXPECT_TRUE(counters.CanUnload());

    ComPtr<IClassFactory> none;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              GetClassObject<Both>(IID_ISecond, IID_IFirst, IID_IClassFactory, none.PutVoid(),
                                   counters));
    EXPECT_FALSE(none);
}

}  // namespace
