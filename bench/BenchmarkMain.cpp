#include <benchmark/benchmark.h>

#include <juce_events/juce_events.h>

// The processor's parameter tree starts a timer, which wants JUCE's message
// machinery to exist, as it does in a host.
int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;

    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
