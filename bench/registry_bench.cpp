// The registry store, through the platform's registry functions on the bench machine's SQLite
// file: a watermark list (a key of 20 REG_BINARY values of 704 bytes, enumerated whole) and
// profile-sized reads (one REG_BINARY value of 7672 bytes, the settings record's size).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_machine.h"
#include "platform/registry.h"

namespace {

using namespace platform;

constexpr uint32_t WatermarkCount = 20;
constexpr uint32_t WatermarkSize = 704;
constexpr uint32_t ProfileSize = 7672;
constexpr char16_t ListKey[] = u"Software\\Quorvel\\Bench\\Watermarks";
constexpr char16_t ProfileKey[] = u"Software\\Quorvel\\Bench\\Profiles";
constexpr char16_t ProfileName[] = u"Office profile";

// Fills both keys once, in HKEY_CURRENT_USER of the bench machine.
void StoreValues() {
    static const bool stored = [] {
        bench::BenchMachine::Instance();
        HKEY key = nullptr;
        const std::vector<uint8_t> watermark(WatermarkSize, 0x5A);
        if (RegCreateKeyExW(HKEY_CURRENT_USER, ListKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            bench::Fail("the watermark key cannot be created");
        }
        for (uint32_t i = 1; i <= WatermarkCount; ++i) {
            const std::u16string name =
                u"Watermark " + std::u16string(1, static_cast<char16_t>(u'A' + i - 1));
            RegSetValueExW(key, name.c_str(), 0, REG_BINARY, watermark.data(), WatermarkSize);
        }
        RegCloseKey(key);
        const std::vector<uint8_t> profile(ProfileSize, 0x33);
        if (RegCreateKeyExW(HKEY_CURRENT_USER, ProfileKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS ||
            RegSetValueExW(key, ProfileName, 0, REG_BINARY, profile.data(), ProfileSize) !=
                ERROR_SUCCESS) {
            bench::Fail("the profile value cannot be stored");
        }
        RegCloseKey(key);
        return true;
    }();
    benchmark::DoNotOptimize(stored);
}

// Open the key, count its values, read each name and data, close: a list page's whole read.
void BM_RegistryWatermarkList(benchmark::State& state) {
    StoreValues();
    char16_t name[256];
    uint8_t data[WatermarkSize];
    for (auto _ : state) {
        HKEY key = nullptr;
        uint32_t values = 0;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, ListKey, 0, KEY_READ, &key) != ERROR_SUCCESS ||
            RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            bench::Fail("the watermark key cannot be read");
        }
        for (uint32_t i = 0; i < values; ++i) {
            uint32_t nameLength = std::size(name);
            uint32_t type = 0;
            uint32_t size = sizeof data;
            if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) !=
                    ERROR_SUCCESS ||
                size != WatermarkSize) {
                bench::Fail("a watermark value cannot be read");
            }
        }
        RegCloseKey(key);
        benchmark::DoNotOptimize(data);
    }
    state.SetItemsProcessed(state.iterations() * WatermarkCount);
}

// Open the key, read the record, close.
void BM_RegistryProfileRead(benchmark::State& state) {
    StoreValues();
    std::vector<uint8_t> data(ProfileSize);
    for (auto _ : state) {
        HKEY key = nullptr;
        uint32_t type = 0;
        uint32_t size = ProfileSize;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, ProfileKey, 0, KEY_READ, &key) != ERROR_SUCCESS ||
            RegQueryValueExW(key, ProfileName, nullptr, &type, data.data(), &size) !=
                ERROR_SUCCESS ||
            size != ProfileSize) {
            bench::Fail("the profile value cannot be read");
        }
        RegCloseKey(key);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ProfileSize));
}

BENCHMARK(BM_RegistryWatermarkList)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RegistryProfileRead)->Unit(benchmark::kMicrosecond);

}  // namespace
