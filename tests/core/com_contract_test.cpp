// The DLL's COM contract as the driver meets it: exports, class object,
// factory, object identity, reference counts and unload answers.
#include <gtest/gtest.h>

#include <vector>

#include "support/plugin_dll.h"

namespace vornik::test {
namespace {

constexpr GUID kOtherClsid = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

class ComContract : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dll.loaded()) << "cannot load the built vornik.dll";
    ASSERT_EQ(S_OK, dll.CanUnloadNow()) << "a previous test left objects or locks behind";
  }
  void TearDown() override { EXPECT_EQ(S_OK, dll.CanUnloadNow()) << "test leaked objects"; }

  ComRef<IClassFactory> Factory() {
    ComRef<IClassFactory> factory;
    EXPECT_EQ(S_OK, dll.GetClassObject(CLSID_OEMUI, IID_IClassFactory, factory.out_void()));
    return factory;
  }

  PluginDll dll;
};

TEST_F(ComContract, ExportsAreFoundByUndecoratedName) {
  EXPECT_NE(nullptr, GetProcAddress(dll.module(), "DllGetClassObject"));
  EXPECT_NE(nullptr, GetProcAddress(dll.module(), "DllCanUnloadNow"));
  EXPECT_NE(nullptr, GetProcAddress(dll.module(), MAKEINTRESOURCEA(1)));
  EXPECT_EQ(GetProcAddress(dll.module(), "DllCanUnloadNow"),
            GetProcAddress(dll.module(), MAKEINTRESOURCEA(1)));
  EXPECT_EQ(GetProcAddress(dll.module(), "DllGetClassObject"),
            GetProcAddress(dll.module(), MAKEINTRESOURCEA(2)));
}

TEST_F(ComContract, ClassObjectIsServedOnlyForTheOemUiClass) {
  void* untouched = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
            dll.GetClassObject(kOtherClsid, IID_IClassFactory, &untouched));
  EXPECT_EQ(reinterpret_cast<void*>(0x1234), untouched);

  void* object = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(E_NOINTERFACE, dll.GetClassObject(CLSID_OEMUI, IID_IPrintOemUI2, &object));
  EXPECT_EQ(nullptr, object);

  ComRef<IUnknown> unknown;
  ASSERT_EQ(S_OK, dll.GetClassObject(CLSID_OEMUI, IID_IUnknown, unknown.out_void()));
  ComRef<IClassFactory> factory;
  ASSERT_EQ(S_OK, unknown->QueryInterface(IID_IClassFactory, factory.out_void()));
  EXPECT_EQ(static_cast<IUnknown*>(factory.get()), unknown.get()) << "IUnknown is the factory";
}

TEST_F(ComContract, FactoryCountsReferences) {
  ComRef<IClassFactory> factory = Factory();
  IClassFactory* raw = factory.Detach();
  EXPECT_EQ(2u, raw->AddRef());
  EXPECT_EQ(1u, raw->Release());
  EXPECT_EQ(0u, raw->Release());
}

TEST_F(ComContract, CreateInstanceRefusesAggregation) {
  ComRef<IClassFactory> factory = Factory();
  IUnknown* outer = factory.get();
  void* object = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IUnknown, &object));
  EXPECT_EQ(reinterpret_cast<void*>(0x1234), object);
  EXPECT_EQ(S_OK, dll.CanUnloadNow());
}

TEST_F(ComContract, CreateInstanceServesUnknownAndPluginInterface) {
  ComRef<IClassFactory> factory = Factory();
  for (const GUID* iid : {&IID_IUnknown, &IID_IPrintOemUI2}) {
    ComRef<IUnknown> object;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, *iid, object.out_void()));
    EXPECT_EQ(1u, RefCount(object.get()));
    ComRef<IPrintOemUI2> plugin;
    EXPECT_EQ(S_OK, object->QueryInterface(IID_IPrintOemUI2, plugin.out_void()));
    EXPECT_EQ(static_cast<IUnknown*>(plugin.get()), object.get());
    EXPECT_EQ(S_FALSE, dll.CanUnloadNow()) << "a live object keeps the module";
  }
}

TEST_F(ComContract, FailedCreateInstanceQueryDestroysTheObject) {
  ComRef<IClassFactory> factory = Factory();
  void* object = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &object));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(S_OK, dll.CanUnloadNow()) << "live-object count back to its previous value";
}

TEST_F(ComContract, PluginAnswersOnlyItsOwnInterfaces) {
  ComRef<IPrintOemUI2> plugin(dll.CreatePlugin());
  ASSERT_NE(nullptr, plugin.get());
  for (const GUID* iid : {&IID_IPrintOemDriverUI, &IID_IClassFactory, &IID_IPrintOemUI}) {
    void* object = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(E_NOINTERFACE, plugin->QueryInterface(*iid, &object));
    EXPECT_EQ(nullptr, object);
  }
  EXPECT_EQ(1u, RefCount(plugin.get()));
}

TEST_F(ComContract, ServerLocksKeepTheModule) {
  ComRef<IClassFactory> factory = Factory();
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  EXPECT_EQ(S_FALSE, dll.CanUnloadNow());
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  EXPECT_EQ(S_FALSE, dll.CanUnloadNow());
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  EXPECT_EQ(S_OK, dll.CanUnloadNow());
}

TEST_F(ComContract, LastReleaseOfThePluginAllowsUnload) {
  IPrintOemUI2* plugin = dll.CreatePlugin();
  ASSERT_NE(nullptr, plugin);
  EXPECT_EQ(S_FALSE, dll.CanUnloadNow());
  EXPECT_EQ(2u, plugin->AddRef());
  EXPECT_EQ(1u, plugin->Release());
  EXPECT_EQ(S_FALSE, dll.CanUnloadNow());
  EXPECT_EQ(0u, plugin->Release());
  EXPECT_EQ(S_OK, dll.CanUnloadNow());
}

struct Hammer {
  IPrintOemUI2* plugin;
  IClassFactory* factory;
};

// Each thread takes and drops references on one shared object, and creates,
// locks and drops objects of its own, all at once with the other threads.
DWORD WINAPI HammerReferences(void* parameter) {
  const auto* hammer = static_cast<const Hammer*>(parameter);
  for (int i = 0; i < 20000; ++i) {
    hammer->plugin->AddRef();
    hammer->plugin->Release();
    if (i % 50 == 0) {
      void* object = nullptr;
      hammer->factory->LockServer(TRUE);
      if (SUCCEEDED(hammer->factory->CreateInstance(nullptr, IID_IPrintOemUI2, &object)))
        static_cast<IUnknown*>(object)->Release();
      hammer->factory->LockServer(FALSE);
    }
  }
  return 0;
}

TEST_F(ComContract, CountsHoldUnderEightThreads) {
  ComRef<IClassFactory> factory = Factory();
  Hammer hammer = {dll.CreatePlugin(), factory.get()};
  ASSERT_NE(nullptr, hammer.plugin);
  std::vector<HANDLE> threads;
  for (int i = 0; i < 8; ++i)
    threads.push_back(CreateThread(nullptr, 0, HammerReferences, &hammer, 0, nullptr));
  for (HANDLE thread : threads) ASSERT_NE(nullptr, thread);
  WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
  for (HANDLE thread : threads) CloseHandle(thread);
  EXPECT_EQ(1u, RefCount(hammer.plugin));
  EXPECT_EQ(S_FALSE, dll.CanUnloadNow()) << "the shared object is still alive";
  EXPECT_EQ(0u, hammer.plugin->Release());
  EXPECT_EQ(S_OK, dll.CanUnloadNow()) << "every object and lock was given back";
}

}  // namespace
}  // namespace vornik::test
