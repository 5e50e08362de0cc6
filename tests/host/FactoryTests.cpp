#include "HostTestSupport.h"

#include <gtest/gtest.h>

#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/vst/vsttypes.h>

#include <dlfcn.h>

#include <array>
#include <cstring>

namespace
{
    using ModuleEntryFunction = bool (*) (void*);
    using ModuleExitFunction = bool (*)();
    using GetFactoryFunction = Steinberg::IPluginFactory* (*) ();

    /** Opens the plug-in binary as a host does: load, enter the module, ask for the factory. */
    class RawModule
    {
    public:
        RawModule()
        {
            handle = dlopen (QUORVANE_PLUGIN_BINARY, RTLD_NOW | RTLD_LOCAL);

            if (handle == nullptr)
                return;

            if (auto entry = (ModuleEntryFunction) dlsym (handle, "ModuleEntry"))
                entered = entry (handle);

            if (auto getFactory = (GetFactoryFunction) dlsym (handle, "GetPluginFactory"))
                factory = getFactory();
        }

        ~RawModule()
        {
            if (factory != nullptr)
                factory->release();

            if (entered)
                if (auto exit = (ModuleExitFunction) dlsym (handle, "ModuleExit"))
                    exit();

            if (handle != nullptr)
                dlclose (handle);
        }

        void* handle = nullptr;
        bool entered = false;
        Steinberg::IPluginFactory* factory = nullptr;
    };

    template <typename Interface>
    Interface* queryFactory (Steinberg::IPluginFactory* factory)
    {
        Interface* result = nullptr;
        factory->queryInterface (Interface::iid, (void**) &result);
        return result;
    }

    std::array<unsigned char, 16> classIdOf (const Steinberg::TUID cid)
    {
        std::array<unsigned char, 16> bytes {};
        std::memcpy (bytes.data(), cid, 16);
        return bytes;
    }

    std::array<unsigned char, 16> expectedClassId (unsigned char b4, unsigned char b5, unsigned char b6, unsigned char b7)
    {
        return { 0xAB, 0xCD, 0xEF, 0x01, b4, b5, b6, b7, 'V', 'R', 'S', 'K', 'Q', 'R', 'V', 'N' };
    }
} // namespace

//==============================================================================
TEST (RawFactory, ReportsTheVendorAndTheUnicodeFlag)
{
    RawModule module;
    ASSERT_NE (module.handle, nullptr) << dlerror();
    EXPECT_TRUE (module.entered);
    ASSERT_NE (module.factory, nullptr);

    Steinberg::PFactoryInfo info;
    ASSERT_EQ (module.factory->getFactoryInfo (&info), Steinberg::kResultOk);
    EXPECT_STREQ (info.vendor, "Vresk");
    EXPECT_EQ (info.flags, 16);
    EXPECT_TRUE (juce::String (info.url).startsWith ("https://"));
    EXPECT_TRUE (juce::String (info.email).containsChar ('@'));
}

TEST (RawFactory, ListsTheComponentAndItsControllerWithTheirIds)
{
    RawModule module;
    ASSERT_NE (module.factory, nullptr);
    ASSERT_EQ (module.factory->countClasses(), 2);

    Steinberg::PClassInfo component, controller;
    ASSERT_EQ (module.factory->getClassInfo (0, &component), Steinberg::kResultOk);
    ASSERT_EQ (module.factory->getClassInfo (1, &controller), Steinberg::kResultOk);

    EXPECT_EQ (classIdOf (component.cid), expectedClassId (0x91, 0x82, 0xFA, 0xEB));
    EXPECT_EQ (classIdOf (controller.cid), expectedClassId (0x12, 0x34, 0xAB, 0xCD));
    EXPECT_STREQ (component.category, "Audio Module Class");
    EXPECT_STREQ (controller.category, "Component Controller Class");

    for (const auto& info : { component, controller })
    {
        EXPECT_STREQ (info.name, "Quorvane");
        EXPECT_EQ (info.cardinality, Steinberg::PClassInfo::kManyInstances);
        EXPECT_EQ (info.cardinality, 0x7FFFFFFF);
    }
}

TEST (RawFactory, GivesTheExtendedClassInformation)
{
    RawModule module;
    ASSERT_NE (module.factory, nullptr);

    auto* factory2 = queryFactory<Steinberg::IPluginFactory2> (module.factory);
    ASSERT_NE (factory2, nullptr);

    for (Steinberg::int32 index = 0; index < 2; ++index)
    {
        Steinberg::PClassInfo2 info;
        ASSERT_EQ (factory2->getClassInfo2 (index, &info), Steinberg::kResultOk);

        EXPECT_STREQ (info.name, "Quorvane");
        EXPECT_STREQ (info.subCategories, "Fx|Tools");
        EXPECT_STREQ (info.vendor, "Vresk");
        EXPECT_STREQ (info.version, "1.0.1");
        EXPECT_STREQ (info.sdkVersion, kVstVersionString);
        EXPECT_EQ (info.classFlags, 0u);
        EXPECT_EQ (info.cardinality, 0x7FFFFFFF);
    }

    factory2->release();
}

TEST (RawFactory, GivesTheSameInformationInUtf16)
{
    RawModule module;
    ASSERT_NE (module.factory, nullptr);

    auto* factory3 = queryFactory<Steinberg::IPluginFactory3> (module.factory);
    ASSERT_NE (factory3, nullptr);

    Steinberg::PClassInfoW info;
    ASSERT_EQ (factory3->getClassInfoUnicode (0, &info), Steinberg::kResultOk);

    EXPECT_EQ (fromUtf16 (info.name), "Quorvane");
    EXPECT_EQ (fromUtf16 (info.vendor), "Vresk");
    EXPECT_EQ (fromUtf16 (info.version), "1.0.1");
    EXPECT_EQ (fromUtf16 (info.sdkVersion), kVstVersionString);
    EXPECT_STREQ (info.subCategories, "Fx|Tools");
    EXPECT_EQ (classIdOf (info.cid), expectedClassId (0x91, 0x82, 0xFA, 0xEB));

    factory3->release();
}
