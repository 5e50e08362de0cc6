#include "AudioPathMath.h"
#include "PluginProcessor.h"

namespace
{
    constexpr auto relaxed = std::memory_order_relaxed;

    // A buffer that refers to someone else's channels keeps up to this many
    // channel pointers inside itself; one more and it allocates an array for
    // them. The path reads at most the first four host channels, so a wider
    // host buffer loses nothing when its chunks refer to only this many.
    constexpr int maxChannelsReferredWithoutAllocating = 31;

    void updateMatchGain (QuorvaneAudioProcessor& p, bool isMatchB)
    {
        if (! (isMatchB && p.aActive.load (relaxed) && p.bActive.load (relaxed)))
            return;

        if (! std::isfinite (p.momentaryA.load (relaxed)) || ! std::isfinite (p.momentaryB.load (relaxed)))
            return;

        // A NaN or infinite difference would reach the gain and, through its
        // ramp, every later sample of B; the gain holds instead, as it does for
        // a momentary value that is not finite.
        const auto difference = p.shortTermA.load (relaxed) - p.shortTermB.load (relaxed);

        if (! std::isfinite (difference))
            return;

        const auto gainDb = limitMatchGainDb (difference);
        p.matchGainDb.store (gainDb, relaxed);

        const auto linear = matchGainDbToLinear (gainDb);

        // Re-aiming at practically the same target would restart the ramp for nothing.
        if (! juce::approximatelyEqual (linear, p.matchGain.getGainLinear()))
            p.matchGain.setGainLinear (linear);
    }

    // While it ramps, the gain lays out one factor per sample on the stack.
    // Hosts rendering offline hand over blocks of hundreds of thousands of
    // frames, on threads whose stacks may be as small as 512 KiB, so the ramp
    // is taken in pieces that need 16 KiB at most. The factors come out the same.
    constexpr int maxRampFramesAtOnce = 4096;

    /** Applies the match gain to numFrames frames of B from frame start on. */
    void applyMatchGain (juce::dsp::Gain<float>& gain, juce::AudioBuffer<float>& b, int start, int numFrames)
    {
        if (! gain.isSmoothing())
        {
            // Settled, the gain is the same factor for every sample; the
            // gain's own processing would still step its ramp sample by sample.
            for (int ch = 0; ch < 2; ++ch)
                juce::FloatVectorOperations::multiply (b.getWritePointer (ch, start), gain.getGainLinear(), numFrames);

            return;
        }

        auto block = juce::dsp::AudioBlock<float> (b);

        for (int done = 0; done < numFrames; done += maxRampFramesAtOnce)
        {
            auto piece = block.getSubBlock ((size_t) (start + done), (size_t) juce::jmin (maxRampFramesAtOnce, numFrames - done));
            gain.process (juce::dsp::ProcessContextReplacing<float> (piece));
        }
    }

    /** How many frames of a chunk, from its first, B carries the match gain:
        all of them while the power is on and the configuration carries the
        match, whichever source plays; while such a configuration fades out
        into one that does not, the fade's own remaining frames and no more.
        The ramp advances over exactly these frames, so where it stands never
        depends on where a host block ends.
    */
    int framesCarryingMatchGain (const QuorvaneAudioProcessor::OutputConfig& config,
                                 const QuorvaneAudioProcessor::OutputConfig& fadingOut,
                                 int fadeFramesLeft, int numFrames) noexcept
    {
        if (! config.bypass && config.match)
            return numFrames;

        if (fadeFramesLeft > 0 && ! fadingOut.bypass && fadingOut.match)
            return juce::jmin (numFrames, fadeFramesLeft);

        return 0;
    }

    void setAllLevels (QuorvaneAudioProcessor& p, float levelDb)
    {
        for (int ch = 0; ch < 2; ++ch)
        {
            p.levelA[ch].store (levelDb, relaxed);
            p.levelB[ch].store (levelDb, relaxed);
        }
    }
} // namespace

//==============================================================================
void QuorvaneAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    // The gain ramp, the crossfade and the subtraction never need denormals.
    juce::ScopedNoDenormals noDenormals;

    const auto chunkLength = juce::jmax (1, (int) processSpec.maximumBlockSize);
    const auto numSamples = buffer.getNumSamples();

    if (numSamples <= chunkLength)
    {
        processChunk (buffer);
        return;
    }

    // Longer blocks are cut into chunks that fit the work buffers. Each chunk
    // refers to the host's own memory, so the output lands where the host wants it.
    auto* const* channels = buffer.getArrayOfWritePointers();
    const auto numChannels = juce::jmin (buffer.getNumChannels(), maxChannelsReferredWithoutAllocating);

    for (int start = 0; start < numSamples; start += chunkLength)
    {
        juce::AudioBuffer<float> chunk (channels, numChannels, start, juce::jmin (chunkLength, numSamples - start));
        processChunk (chunk);
    }
}

void QuorvaneAudioProcessor::reset()
{
    // Only an offline render starts afresh after a stop; in real time the
    // request is taken at the next chunk and changes nothing, so the match,
    // its ramp and a running fade carry on as if no stop had come.
    hostStoppedProcessing.store (true, relaxed);
}

void QuorvaneAudioProcessor::followRenderMode()
{
    const auto offline = isNonRealtime();

    // A host may stop between two bounces and render the second with no
    // real-time call in between; the stop alone tells that a new bounce
    // begins. In real time the match simply carries on.
    const auto stopped = hostStoppedProcessing.load (relaxed) && hostStoppedProcessing.exchange (false, relaxed);

    if (offline && (stopped || ! renderingOffline))
        startOfflineRender();
    else if (! offline && renderingOffline)
        analyzerThread.showOwnReadingsAgain();

    renderingOffline = offline;
}

void QuorvaneAudioProcessor::startOfflineRender()
{
    // Every render starts from the same state, so that it depends on its own
    // audio and switches alone: B fades in again, as at the start of a session.
    // New analysers may be made here, which allocates: offline, no deadline is
    // at stake.
    offlineLoudness.startRender();
    analyzerThread.showRenderReadings (offlineLoudness.getReadingA(), offlineLoudness.getReadingB());

    for (auto* loudness : { &momentaryA, &shortTermA, &momentaryB, &shortTermB })
        loudness->store (initialLoudness, relaxed);

    aActive.store (false, relaxed);
    bActive.store (false, relaxed);
    matchGainDb.store (initialMatchGainDb, relaxed);

    // Silent B, with no ramp under way, as the gain starts out.
    matchGain.setGainLinear (0.0f);
    matchGain.reset();

    // The render's first chunk plays its own switches at once, without a fade
    // from what played live before it.
    configInitialised = false;
    crossfadePosition = -1;
}

void QuorvaneAudioProcessor::copyLoudness (const LoudnessAnalyzer::Reading& a, const LoudnessAnalyzer::Reading& b,
                                           bool inputBHasChannels)
{
    momentaryA.store (a.momentary, relaxed);
    shortTermA.store (a.shortTerm, relaxed);

    // Without channels on "Input B" nothing reaches B's analyser, so its last
    // values are kept rather than whatever an older run left published.
    if (inputBHasChannels)
    {
        momentaryB.store (b.momentary, relaxed);
        shortTermB.store (b.shortTerm, relaxed);
    }

    aActive.store (a.audioActive, relaxed);
    bActive.store (b.audioActive, relaxed);
}

void QuorvaneAudioProcessor::measureAndMatchOffline (int numFrames, bool inputBHasChannels, bool isMatchB, int gainFrames)
{
    offlineLoudness.takeChunk (bufferA, inputBHasChannels ? &bufferB : nullptr, numFrames);

    auto matchTo = [this, inputBHasChannels, isMatchB] (const LoudnessAnalyzer::Reading& a, const LoudnessAnalyzer::Reading& b)
    {
        copyLoudness (a, b, inputBHasChannels);
        updateMatchGain (*this, isMatchB);
    };

    // A switch the host changed takes effect from the chunk's first frame.
    matchTo (offlineLoudness.getReadingA(), offlineLoudness.getReadingB());

    // Each reading aims the gain from the frame after the audio it measured,
    // wherever the host's blocks end, so a bounce cut into other blocks comes
    // out the same.
    for (int start = 0; start < numFrames;)
    {
        const auto piece = offlineLoudness.measureFrom (start);
        const auto gained = juce::jlimit (0, piece.numFrames, gainFrames - start);

        if (gained > 0)
            applyMatchGain (matchGain, bufferB, start, gained);

        if (piece.renewed)
        {
            const auto& a = offlineLoudness.getReadingA();
            const auto& b = offlineLoudness.getReadingB();
            analyzerThread.showRenderReadings (a, b);
            matchTo (a, b);
        }

        start += piece.numFrames;
    }
}

void QuorvaneAudioProcessor::processChunk (juce::AudioBuffer<float>& buffer)
{
    followRenderMode();

    const auto n = buffer.getNumSamples();
    const auto numHostChannels = buffer.getNumChannels();

    // 1. Channel counts, refreshed every chunk for the editor.
    const auto totalInputs = getTotalNumInputChannels();
    const auto totalOutputs = getTotalNumOutputChannels();
    const auto mainInputs = getMainBusNumInputChannels();

    numInputChannels.store (totalInputs, relaxed);
    numOutputChannels.store (totalOutputs, relaxed);
    numMainInputChannels.store (mainInputs, relaxed);

    for (auto ch = totalInputs; ch < juce::jmin (totalOutputs, numHostChannels); ++ch)
        buffer.clear (ch, 0, n);

    // 2. The host's switches win over whatever the editor wrote since the last chunk.
    const auto isBypassed = parameters.getRawParameterValue ("onButton")->load() < 0.5f;
    const auto isASelected = parameters.getRawParameterValue ("AButton")->load() > 0.5f;
    bypassed.store (isBypassed, relaxed);
    aSelected.store (isASelected, relaxed);

    // 3. A sits on the first host channels, B on those that follow.
    const auto numA = juce::jmin (numHostChannels, mainInputs);
    const auto numB = juce::jmax (0, juce::jmin (numHostChannels, totalInputs) - numA);

    // 4. What this chunk plays. Each editor flag is read once, so one chunk
    // never acts on two different values of it.
    const auto isDiff = diffMode.load (relaxed);
    const auto isMatchB = matchB.load (relaxed);
    const auto playsA = blindTestActive.load (relaxed) ? blindPlaysA.load (relaxed) : isASelected;
    const OutputConfig cfg { isBypassed, isDiff, playsA, isMatchB || isDiff };

    // 5. Crossfade state. A change restarts the fade even while one runs.
    if (! configInitialised)
    {
        currentConfig = cfg;
        configInitialised = true;
    }
    else if (cfg != currentConfig)
    {
        previousConfig = currentConfig;
        crossfadePosition = 0;
        currentConfig = cfg;
    }

    // Only reachable by calling processChunk with more than prepareToPlay sized
    // for, or before it ran: the work buffers cannot hold the chunk, so it plays
    // as it arrived instead of being written past their ends, and ends any fade.
    if (n > bufferA.getNumSamples())
    {
        crossfadePosition = -1;
        return;
    }

    const auto fading = crossfadePosition >= 0;

    // 6. The path renders at most a stereo pair.
    const auto numOut = juce::jmin (totalOutputs, 2, numHostChannels);

    // 7. The main input as it arrived, for a fade to or from bypass.
    if (fading)
        for (int ch = 0; ch < numOut; ++ch)
            dryBuffer.copyFrom (ch, 0, buffer, ch, 0, n);

    // 8. Split the sources: a mono source feeds both channels, a missing one is silence.
    const auto split = ! cfg.bypass || (fading && ! previousConfig.bypass);

    if (split)
    {
        for (int ch = 0; ch < 2; ++ch)
        {
            if (numA > 0)
                bufferA.copyFrom (ch, 0, buffer, juce::jmin (ch, numA - 1), 0, n);
            else
                bufferA.clear (ch, 0, n);

            if (numB > 0)
                bufferB.copyFrom (ch, 0, buffer, numA + juce::jmin (ch, numB - 1), 0, n);
            else
                bufferB.clear (ch, 0, n);
        }
    }

    // 9. Peak levels, of the sources as they arrived, and only while
    // processing is on.
    const auto measuring = split && ! cfg.bypass;
    float peakA[2] {};
    float peakB[2] {};

    if (measuring)
    {
        for (int ch = 0; ch < 2; ++ch)
        {
            peakA[ch] = peakMagnitude (bufferA.getReadPointer (ch), n);
            peakB[ch] = peakMagnitude (bufferB.getReadPointer (ch), n);
        }
    }

    // 10. Measurement and the match gain. The gain runs whenever the power is
    // on and MATCH B or DIFF is, so also while A plays, and while such a
    // configuration fades out, up to the fade's end; its ramp advances over
    // exactly those frames.
    const auto fadeFramesLeft = fading ? crossfadeLength - crossfadePosition : 0;
    const auto gainFrames = split ? framesCarryingMatchGain (cfg, previousConfig, fadeFramesLeft, n) : 0;
    const auto gainApplied = gainFrames > 0;

    // A fade between a matched and an unmatched B needs B both ways.
    if (gainApplied && fading && ! cfg.bypass && ! previousConfig.bypass && cfg.match != previousConfig.match)
        for (int ch = 0; ch < 2; ++ch)
            rawBufferB.copyFrom (ch, 0, bufferB, ch, 0, n);

    if (measuring && renderingOffline)
    {
        // The loudness follows from the audio rendered so far and nothing else.
        measureAndMatchOffline (n, numB > 0, isMatchB, gainFrames);
    }
    else
    {
        if (measuring)
        {
            LufsAnalyzerThread::writeFrames (analyzerThread.fifoA, analyzerThread.fifoBufferA, bufferA, n);

            if (numB > 0)
                LufsAnalyzerThread::writeFrames (analyzerThread.fifoB, analyzerThread.fifoBufferB, bufferB, n);

            // Just after a render the published values may still be its
            // readings; the copies hold until the thread shows its own again.
            if (analyzerThread.publishesOwnReadings())
                copyLoudness (analyzerThread.readPublishedA(), analyzerThread.readPublishedB(), numB > 0);

            updateMatchGain (*this, isMatchB);
        }

        if (gainApplied)
            applyMatchGain (matchGain, bufferB, 0, gainFrames);
    }

    // B's levels show it as it is heard with MATCH B on: they add the latest
    // target in dB, not the gain the ramp has reached so far.
    if (measuring)
    {
        const auto isBActive = bActive.load (relaxed);
        const auto offsetB = isMatchB ? matchGainDb.load (relaxed) : 0.0f;

        for (int ch = 0; ch < 2; ++ch)
        {
            levelA[ch].store (peakLevelDb (peakA[ch], 0.0f), relaxed);
            levelB[ch].store (isBActive ? peakLevelDb (peakB[ch], offsetB) : minimumLevelDb, relaxed);
        }
    }
    else
    {
        setAllLevels (*this, minimumLevelDb);
    }

    // 11. Output.
    auto renderConfig = [&gainApplied, this, &numOut, &n] (const OutputConfig& config, juce::AudioBuffer<float>& destination)
    {
        const auto& selectedB = (! config.match && gainApplied) ? rawBufferB : bufferB;

        for (int ch = 0; ch < numOut; ++ch)
        {
            if (config.bypass)
                destination.copyFrom (ch, 0, dryBuffer, ch, 0, n);
            else if (config.diff)
                juce::FloatVectorOperations::subtract (destination.getWritePointer (ch), bufferA.getReadPointer (ch), selectedB.getReadPointer (ch), n);
            else
                destination.copyFrom (ch, 0, config.playA ? bufferA : selectedB, ch, 0, n);
        }
    };

    if (fading)
    {
        renderConfig (previousConfig, fadeOutBuffer);
        renderConfig (cfg, renderBuffer);

        for (int ch = 0; ch < numOut; ++ch)
            crossfade (buffer.getWritePointer (ch), fadeOutBuffer.getReadPointer (ch), renderBuffer.getReadPointer (ch),
                       n, crossfadePosition, crossfadeLength);

        crossfadePosition += n;

        if (crossfadePosition >= crossfadeLength)
            crossfadePosition = -1;
    }
    else if (! cfg.bypass)
    {
        renderConfig (cfg, buffer);
    }
    // Bypassed with no fade running: the host buffer is left alone, so the
    // main input passes through untouched.
}
