#include "HostTestSupport.h"
#include "ScreenGrab.h"

#include <gtest/gtest.h>

#include <juce_audio_processors/juce_audio_processors.h>

#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivstunits.h>

namespace
{
    struct LoadedPlugin
    {
        juce::PluginDescription description;
        std::unique_ptr<juce::AudioPluginInstance> instance;
    };

    LoadedPlugin loadBuiltPlugin (double sampleRate = 48000.0, int blockSize = 512)
    {
        juce::VST3PluginFormat format;
        juce::OwnedArray<juce::PluginDescription> found;
        format.findAllTypesForFile (found, getBuiltBundle().getFullPathName());

        LoadedPlugin loaded;

        if (found.size() != 1)
            return loaded;

        loaded.description = *found[0];

        juce::String error;
        loaded.instance = format.createInstanceFromDescription (loaded.description, sampleRate, blockSize, error);
        return loaded;
    }

    juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
    {
        for (auto* parameter : instance.getParameters())
            if (parameter->getName (64) == name)
                return parameter;

        return nullptr;
    }
} // namespace

//==============================================================================
TEST (HostedPlugin, DescribesItselfAsAVresk1_0_1Effect)
{
    const auto loaded = loadBuiltPlugin();
    ASSERT_NE (loaded.instance, nullptr) << getBuiltBundle().getFullPathName();

    const auto& description = loaded.description;
    EXPECT_EQ (description.name, "Quorvane");
    EXPECT_EQ (description.manufacturerName, "Vresk");
    EXPECT_EQ (description.version, "1.0.1");
    EXPECT_EQ (description.category, "Fx|Tools");
    EXPECT_EQ (description.pluginFormatName, "VST3");
    EXPECT_FALSE (description.isInstrument);
}

TEST (HostedPlugin, ShowsItsThreeBusesWithTheirDefaultLayouts)
{
    const auto loaded = loadBuiltPlugin();
    ASSERT_NE (loaded.instance, nullptr);
    auto& plugin = *loaded.instance;

    ASSERT_EQ (plugin.getBusCount (true), 2);
    ASSERT_EQ (plugin.getBusCount (false), 1);
    EXPECT_EQ (plugin.getBus (true, 0)->getName(), "Input A");
    EXPECT_EQ (plugin.getBus (true, 1)->getName(), "Input B");
    EXPECT_EQ (plugin.getBus (false, 0)->getName(), "Output");

    for (const auto isInput : { true, false })
        for (int i = 0; i < plugin.getBusCount (isInput); ++i)
        {
            EXPECT_TRUE (plugin.getBus (isInput, i)->isEnabled());
            EXPECT_EQ (plugin.getBus (isInput, i)->getCurrentLayout(), juce::AudioChannelSet::stereo());
        }

    EXPECT_EQ (plugin.getTotalNumInputChannels(), 4);
    EXPECT_EQ (plugin.getTotalNumOutputChannels(), 2);
}

TEST (HostedPlugin, OffersTheThreeSwitchesAndTheHostBypass)
{
    const auto loaded = loadBuiltPlugin();
    ASSERT_NE (loaded.instance, nullptr);
    auto& plugin = *loaded.instance;

    struct Expected
    {
        const char* name;
        float defaultValue;
    };

    for (const auto& expected : { Expected { "on Button", 1.0f },
                                  Expected { "A Button", 1.0f },
                                  Expected { "B Button", 0.0f } })
    {
        auto* parameter = findParameter (plugin, expected.name);
        ASSERT_NE (parameter, nullptr) << expected.name;
        EXPECT_FLOAT_EQ (parameter->getDefaultValue(), expected.defaultValue) << expected.name;
        EXPECT_FLOAT_EQ (parameter->getValue(), expected.defaultValue) << expected.name;
        EXPECT_EQ (parameter->getNumSteps(), 2) << expected.name;
        EXPECT_TRUE (parameter->isAutomatable()) << expected.name;
    }

    // The wrapper adds the host's bypass; nothing else.
    auto* bypass = plugin.getBypassParameter();
    ASSERT_NE (bypass, nullptr);
    EXPECT_EQ (plugin.getParameters().size(), 4);
    EXPECT_FLOAT_EQ (bypass->getValue(), 0.0f);
}

TEST (HostedPlugin, HasOneProgramNoMidiNoLatencyAndNoTail)
{
    const auto loaded = loadBuiltPlugin();
    ASSERT_NE (loaded.instance, nullptr);
    auto& plugin = *loaded.instance;

    // The single program is published as a program list of the component's root
    // unit; JUCE's own hosting only counts programs behind a program-change
    // parameter, which a plug-in with one program doesn't have, so ask the unit.
    struct ComponentFinder : juce::ExtensionsVisitor
    {
        void visitVST3Client (const VST3Client& client) override { component = client.getIComponentPtr(); }
        Steinberg::Vst::IComponent* component = nullptr;
    };

    ComponentFinder finder;
    plugin.getExtensions (finder);
    auto* component = finder.component;
    ASSERT_NE (component, nullptr);

    Steinberg::Vst::IUnitInfo* units = nullptr;
    ASSERT_EQ (component->queryInterface (Steinberg::Vst::IUnitInfo::iid, (void**) &units), Steinberg::kResultOk);
    ASSERT_NE (units, nullptr);

    ASSERT_EQ (units->getProgramListCount(), 1);
    Steinberg::Vst::ProgramListInfo programList {};
    ASSERT_EQ (units->getProgramListInfo (0, programList), Steinberg::kResultOk);
    EXPECT_EQ (programList.programCount, 1);

    Steinberg::Vst::String128 programName {};
    ASSERT_EQ (units->getProgramName (programList.id, 0, programName), Steinberg::kResultOk);
    EXPECT_EQ (fromUtf16 (programName), "Default");
    units->release();

    EXPECT_FALSE (plugin.acceptsMidi());
    EXPECT_FALSE (plugin.producesMidi());
    EXPECT_EQ (plugin.getLatencySamples(), 0);
    EXPECT_DOUBLE_EQ (plugin.getTailLengthSeconds(), 0.0);
}

TEST (HostedPlugin, PlaysTheTrackThroughWhenPreparedAndFed)
{
    auto loaded = loadBuiltPlugin (48000.0, 256);
    ASSERT_NE (loaded.instance, nullptr);
    auto& plugin = *loaded.instance;

    plugin.prepareToPlay (48000.0, 256);

    juce::AudioBuffer<float> buffer (4, 256);
    juce::MidiBuffer midi;

    // A is a ramp on both channels, B a constant: with the defaults A plays.
    for (int block = 0; block < 20; ++block)
    {
        for (int i = 0; i < 256; ++i)
        {
            buffer.setSample (0, i, 0.001f * (float) i);
            buffer.setSample (1, i, -0.001f * (float) i);
            buffer.setSample (2, i, 0.25f);
            buffer.setSample (3, i, 0.25f);
        }

        plugin.processBlock (buffer, midi);
    }

    for (int i = 0; i < 256; ++i)
    {
        ASSERT_FLOAT_EQ (buffer.getSample (0, i), 0.001f * (float) i) << i;
        ASSERT_FLOAT_EQ (buffer.getSample (1, i), -0.001f * (float) i) << i;
    }

    plugin.releaseResources();
}

TEST (HostedPlugin, OpensItsWindowOnScreen)
{
    if (! isXDisplayAvailable())
        GTEST_SKIP() << "no X display to open the window on; scripts/test runs this test under a virtual one";

    auto loaded = loadBuiltPlugin();
    ASSERT_NE (loaded.instance, nullptr);
    auto& plugin = *loaded.instance;

    if (! plugin.hasEditor())
        GTEST_SKIP() << "the plug-in has no window yet";

    std::unique_ptr<juce::AudioProcessorEditor> editor (plugin.createEditorIfNeeded());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getWidth(), 600);
    EXPECT_EQ (editor->getHeight(), 475);

    ignoreXErrors();
    editor->setTopLeftPosition (40, 40);
    editor->addToDesktop (0);
    editor->setVisible (true);
    editor->toFront (false);

    // Give the server and the plug-in's own message handling time to map and paint.
    for (int i = 0; i < 20; ++i)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);

    const auto shot = grabScreenArea (editor->getScreenBounds());
    ASSERT_TRUE (shot.isValid());

    TestSupport::savePng (shot, "hosted-editor.png");

    // The window shows the plug-in's own drawing, not an empty black area.
    juce::SortedSet<juce::uint32> colours;

    for (int y = 0; y < shot.getHeight(); y += 7)
        for (int x = 0; x < shot.getWidth(); x += 7)
            colours.add (shot.getPixelAt (x, y).getARGB());

    EXPECT_GT (colours.size(), 20);

    editor->removeFromDesktop();
    editor.reset();
}
