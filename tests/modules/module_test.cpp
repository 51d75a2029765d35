// Both plug-in modules, loaded exactly as the host loads them.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <variant>

#include "host/system/loaded_module.h"
#include "platform/oem_ps.h"
#include "platform/oem_ui.h"
#include "platform/print_processor.h"
#include "settings/plugin_devmode.h"
#include "settings/text.h"

namespace {

using namespace platform;
using qv::settings::PluginDevmode;

const std::string ModuleDir = QV_MODULE_DIR;

host::LoadedModule Load(const std::string& name) {
    auto loaded = host::LoadedModule::Load(ModuleDir + "/" + name);
    if (auto* error = std::get_if<std::string>(&loaded)) {
        ADD_FAILURE() << *error;
        std::abort();
    }
    return std::get<host::LoadedModule>(std::move(loaded));
}

std::set<std::string> DynamicExports(const std::string& path) {
    std::set<std::string> names;
    FILE* pipe = popen(("nm -D --defined-only " + path).c_str(), "r");
    char line[512];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
        char type = 0;
        char name[400];
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2 && (type == 'T' || type == 'D' ||
                                                                     type == 'B' || type == 'W')) {
            names.insert(name);
        }
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return names;
}

// The host calls the object through its slot table, not through C++.
struct OemVtable {
    HRESULT (*QueryInterface)(void*, const IID*, void**);
    ULONG (*AddRef)(void*);
    ULONG (*Release)(void*);
    HRESULT (*GetInfo)(void*, uint32_t, void*, uint32_t, uint32_t*);
    HRESULT (*DevMode)(void*, uint32_t, OEMDMPARAM*);
};
const OemVtable& SlotsOf(void* object) { return **static_cast<OemVtable**>(object); }

struct ModuleCase {
    const char* file;
    CLSID clsid;
    IID iid;
    const char16_t* defaultFace;
};
const ModuleCase Modules[] = {
    {"qvpsrnd.so", CLSID_OEMRENDER, IID_IPrintOemPS2, u"Arial"},
    {"qvpsui.so", CLSID_OEMUI, IID_IPrintOemUI2, u"宋体"},
};

void* CreatePlugin(const host::LoadedModule& module, const ModuleCase& test) {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(S_OK, module.GetClassObject(test.clsid, IID_IClassFactory, factory.PutVoid()));
    void* object = nullptr;
    EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, test.iid, &object));
    return object;
}

TEST(PluginModules, ExportExactlyTheTwoEntryPoints) {
    for (const ModuleCase& test : Modules) {
        EXPECT_EQ((std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject"}),
                  DynamicExports(ModuleDir + "/" + test.file))
            << test.file;
    }
}

TEST(PluginModules, PrintProcessorExportsTheTwoEntryPointsAndServesItsClass) {
    EXPECT_EQ((std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject"}),
              DynamicExports(ModuleDir + "/qvprint.so"));
    const host::LoadedModule module = Load("qvprint.so");
    ComPtr<IPrintProcessorPage> processor;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              module.GetClassObject(CLSID_OEMRENDER, IID_IClassFactory, processor.PutVoid()));
    ASSERT_EQ(S_OK, module.CreateObject(CLSID_PRINTPROCESSOR, processor));
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());
    processor = {};
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST(PluginModules, DefaultWatermarkFaceComesFromTheModulesOwnStrings) {
    for (const ModuleCase& test : Modules) {
        SCOPED_TRACE(test.file);
        const host::LoadedModule module = Load(test.file);
        void* plugin = CreatePlugin(module, test);
        ASSERT_NE(nullptr, plugin);
        const OemVtable& slots = SlotsOf(plugin);

        PluginDevmode record{};
        OEMDMPARAM params{};
        params.cbSize = sizeof params;
        params.pOEMDMOut = &record;
        EXPECT_EQ(S_OK, slots.DevMode(plugin, OEMDM_SIZE, &params));
        EXPECT_EQ(7672u, params.cbBufSize);
        EXPECT_EQ(S_OK, slots.DevMode(plugin, OEMDM_DEFAULT, &params));
        EXPECT_EQ(test.defaultFace, qv::settings::TextView(record.FirstWatermark.FontFace));
        EXPECT_EQ(test.defaultFace, qv::settings::TextView(record.SecondWatermark.FontFace));
        EXPECT_EQ(0u, slots.Release(plugin));
    }
}

TEST(PluginModules, ReportSignatureAndVersionThroughTheirSlots) {
    for (const ModuleCase& test : Modules) {
        SCOPED_TRACE(test.file);
        const host::LoadedModule module = Load(test.file);
        void* plugin = CreatePlugin(module, test);
        ASSERT_NE(nullptr, plugin);
        const OemVtable& slots = SlotsOf(plugin);
        uint32_t value = 0;
        uint32_t needed = 0;
        EXPECT_EQ(S_OK, slots.GetInfo(plugin, OEMGI_GETSIGNATURE, &value, 4, &needed));
        EXPECT_EQ(0x4C525651u, value);
        EXPECT_EQ(S_OK, slots.GetInfo(plugin, OEMGI_GETVERSION, &value, 4, &needed));
        EXPECT_EQ(10u, value);
        SetLastError(0);
        EXPECT_EQ(E_FAIL, slots.GetInfo(plugin, OEMGI_GETSIGNATURE, &value, 3, &needed));
        EXPECT_EQ(4u, needed);
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
        EXPECT_EQ(E_FAIL, slots.GetInfo(plugin, OEMGI_GETINTERFACEVERSION, &value, 4, &needed));
        EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
        EXPECT_EQ(E_FAIL, slots.GetInfo(plugin, OEMGI_GETSIGNATURE, &value, 4, nullptr));
        slots.Release(plugin);
    }
}

TEST(PluginModules, PublisherInfoDiffersBetweenTheTwoPlugins) {
    uint32_t buffer[2] = {};
    uint32_t needed = 0;
    {
        const host::LoadedModule module = Load("qvpsrnd.so");
        void* plugin = CreatePlugin(module, Modules[0]);
        EXPECT_EQ(E_NOTIMPL, SlotsOf(plugin).GetInfo(plugin, OEMGI_GETPUBLISHERINFO, nullptr, 0,
                                                     &needed));
        EXPECT_EQ(8u, needed);
        SlotsOf(plugin).Release(plugin);
    }
    const host::LoadedModule module = Load("qvpsui.so");
    void* plugin = CreatePlugin(module, Modules[1]);
    EXPECT_EQ(E_FAIL, SlotsOf(plugin).GetInfo(plugin, OEMGI_GETPUBLISHERINFO, buffer, 8, &needed));
    EXPECT_EQ(0u, needed);
    EXPECT_EQ(ERROR_NOT_SUPPORTED, GetLastError());
    SlotsOf(plugin).Release(plugin);
}

TEST(PluginModules, ServeOnlyTheirClassAndTrackUnloading) {
    for (const ModuleCase& test : Modules) {
        SCOPED_TRACE(test.file);
        const host::LoadedModule module = Load(test.file);
        const ModuleCase& other = &test == &Modules[0] ? Modules[1] : Modules[0];
        void* none = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
                  module.GetClassObject(other.clsid, IID_IClassFactory, &none));
        EXPECT_EQ(nullptr, none);

        EXPECT_EQ(S_OK, module.CanUnloadNow());
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, module.GetClassObject(test.clsid, IID_IClassFactory, factory.PutVoid()));
        void* plugin = nullptr;
        // Asking for the wrong plug-in interface creates nothing that stays alive.
        EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, other.iid, &plugin));
        EXPECT_EQ(S_OK, module.CanUnloadNow());
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, test.iid, &plugin));
        EXPECT_EQ(S_FALSE, module.CanUnloadNow());
        SlotsOf(plugin).Release(plugin);
        EXPECT_EQ(S_OK, module.CanUnloadNow());
        factory->LockServer(TRUE);
        EXPECT_EQ(S_FALSE, module.CanUnloadNow());
        factory->LockServer(FALSE);
        EXPECT_EQ(S_OK, module.CanUnloadNow());
    }
}

}  // namespace

#include "platform/activation.h"

namespace {

TEST(PluginModules, OnlyTheUserInterfaceModuleCarriesAPageManifest) {
    for (const ModuleCase& test : Modules) {
        SCOPED_TRACE(test.file);
        const host::LoadedModule module = Load(test.file);
        char16_t path[1024];
        const uint32_t length = GetModuleFileNameW(module.Handle(), path, 1024);
        ASSERT_GT(length, 0u);
        EXPECT_EQ(std::u16string_view(u".so"), std::u16string_view(path + length - 3, 3));
        char16_t tiny[4];
        EXPECT_EQ(4u, GetModuleFileNameW(module.Handle(), tiny, 4));
        EXPECT_EQ(u'\0', tiny[3]);

        ACTCTXW context{sizeof context, ACTCTX_FLAG_RESOURCE_NAME_VALID, path, 0, 0, nullptr, 2,
                        nullptr, nullptr};
        const HANDLE handle = CreateActCtxW(&context);
        EXPECT_EQ(test.clsid == CLSID_OEMUI, handle != INVALID_HANDLE_VALUE);
        uintptr_t outer = 0;
        uintptr_t inner = 0;
        EXPECT_EQ(handle != INVALID_HANDLE_VALUE, ActivateActCtx(handle, &outer) != FALSE);
        if (handle != INVALID_HANDLE_VALUE) {
            // Activations end latest first.
            ASSERT_TRUE(ActivateActCtx(handle, &inner));
            EXPECT_NE(outer, inner);
            EXPECT_FALSE(DeactivateActCtx(0, outer));
            EXPECT_TRUE(DeactivateActCtx(0, inner));
            EXPECT_TRUE(DeactivateActCtx(0, outer));
            EXPECT_FALSE(DeactivateActCtx(0, outer));
        }
        ReleaseActCtx(handle);
    }
}

// An object that answers the user-interface helper's interface id, and nothing of its methods.
class FakeCoreUI final : public ComObject<IPrintCoreUI2> {
public:
    BOOL DrvGetDriverSetting(void*, const char*, void*, uint32_t, uint32_t*, uint32_t*) override { return FALSE; }
    BOOL DrvUpgradeRegistrySetting(HANDLE, const char*, const char*) override { return FALSE; }
    BOOL DrvUpdateUISetting(void*, void*, uint32_t, uint32_t) override { return FALSE; }
    HRESULT GetOptions(POEMUIOBJ, uint32_t, const char*, uint32_t, char*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT SetOptions(POEMUIOBJ, uint32_t, const char*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT EnumConstrainedOptions(POEMUIOBJ, uint32_t, const char*, char*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT WhyConstrained(POEMUIOBJ, uint32_t, const char*, const char*, char*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT GetGlobalAttribute(POEMUIOBJ, uint32_t, const char*, uint32_t*, uint8_t*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT GetFeatureAttribute(POEMUIOBJ, uint32_t, const char*, const char*, uint32_t*, uint8_t*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT GetOptionAttribute(POEMUIOBJ, uint32_t, const char*, const char*, const char*, uint32_t*, uint8_t*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT EnumFeatures(POEMUIOBJ, uint32_t, char*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT EnumOptions(POEMUIOBJ, uint32_t, const char*, char*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT QuerySimulationSupport(HANDLE, uint32_t, uint8_t*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
};

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

TEST(PluginModules, UserInterfacePluginKeepsTheFirstHelperItIsGiven) {
    const host::LoadedModule module = Load("qvpsui.so");
    ComPtr<IPrintOemUI2> plugin;
    ASSERT_EQ(S_OK, module.CreateObject(CLSID_OEMUI, plugin));
    EXPECT_EQ(E_FAIL, plugin->PublishDriverInterface(nullptr));
    EXPECT_EQ(E_FAIL, plugin->PublishDriverInterface(plugin.Get()));
    auto first = ComPtr<FakeCoreUI>::Adopt(new FakeCoreUI);
    auto second = ComPtr<FakeCoreUI>::Adopt(new FakeCoreUI);
    EXPECT_EQ(S_OK, plugin->PublishDriverInterface(first.Get()));
    EXPECT_EQ(S_OK, plugin->PublishDriverInterface(second.Get()));
    EXPECT_EQ(2u, References(first.Get()));
    EXPECT_EQ(1u, References(second.Get()));
    plugin.Reset();  // the plug-in gives its reference back when it goes
    EXPECT_EQ(1u, References(first.Get()));
}

}  // namespace

namespace {

// The rendering plug-in's slots as the host's table lists them.
struct RenderSlots {
    HRESULT (*QueryInterface)(void*, const IID*, void**);
    ULONG (*AddRef)(void*);
    ULONG (*Release)(void*);
    HRESULT (*GetInfo)(void*, uint32_t, void*, uint32_t, uint32_t*);
    HRESULT (*DevMode)(void*, uint32_t, OEMDMPARAM*);
    HRESULT (*EnableDriver)(void*, uint32_t, uint32_t, DRVENABLEDATA*);
    HRESULT (*DisableDriver)(void*);
    HRESULT (*EnablePDEV)(void*, PDEVOBJ, char16_t*, uint32_t, HSURF*, uint32_t, GDIINFO*, uint32_t,
                          DEVINFO*, DRVENABLEDATA*, PDEVOEM*);
    HRESULT (*DisablePDEV)(void*, PDEVOBJ);
    HRESULT (*ResetPDEV)(void*, PDEVOBJ, PDEVOBJ);
    HRESULT (*PublishDriverInterface)(void*, IUnknown*);
    HRESULT (*Command)(void*, PDEVOBJ, uint32_t, void*, uint32_t, uint32_t*);
    HRESULT (*WritePrinter)(void*, PDEVOBJ, void*, uint32_t, uint32_t*);
    HRESULT (*GetPDEVAdjustment)(void*, PDEVOBJ, uint32_t, void*, uint32_t, BOOL*);
};

TEST(PluginModules, RenderingPluginAnswersEverySlotInTheHostsOrder) {
    const host::LoadedModule module = Load("qvpsrnd.so");
    void* plugin = CreatePlugin(module, Modules[0]);
    ASSERT_NE(nullptr, plugin);
    const RenderSlots& slots = **static_cast<RenderSlots**>(plugin);

    DRVENABLEDATA hooks{};
    EXPECT_EQ(S_OK, slots.EnableDriver(plugin, 0x30100, sizeof hooks, &hooks));
    EXPECT_EQ(2u, hooks.c);
    PluginDevmode record{};
    OEMDMPARAM params{};
    params.pOEMDMOut = &record;
    slots.DevMode(plugin, OEMDM_DEFAULT, &params);
    DEVMODEW publicMode{};
    DEVOBJ device{};
    device.pOEMDM = &record;
    device.pPublicDM = &publicMode;
    EXPECT_EQ(S_OK, slots.EnablePDEV(plugin, &device, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, nullptr,
                                     &device.pdevOEM));
    ASSERT_NE(nullptr, device.pdevOEM);
    // Without a published helper every injection fails with the last error as its result.
    uint32_t result = 0;
    EXPECT_EQ(E_FAIL, slots.Command(plugin, &device, PSINJECT_COMMENTS, nullptr, 0, &result));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, result);
    EXPECT_EQ(E_FAIL, slots.PublishDriverInterface(plugin, nullptr));
    EXPECT_EQ(S_OK, slots.WritePrinter(plugin, nullptr, nullptr, 0, nullptr));
    EXPECT_EQ(S_FALSE, slots.WritePrinter(plugin, &device, &record, 4, &result));
    BOOL done = TRUE;
    EXPECT_EQ(E_NOTIMPL, slots.GetPDEVAdjustment(plugin, &device, 0, nullptr, 0, &done));
    EXPECT_EQ(E_FAIL, slots.ResetPDEV(plugin, nullptr, &device));
    EXPECT_EQ(S_OK, slots.DisablePDEV(plugin, &device));
    EXPECT_EQ(S_OK, slots.DisableDriver(plugin));
    EXPECT_EQ(0u, slots.Release(plugin));
}

}  // namespace
