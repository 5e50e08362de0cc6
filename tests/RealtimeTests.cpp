/*
    The audio path must not allocate, lock or call the system once prepared.
    This test binary watches all three on one "probed" thread: it replaces the
    C allocation functions (operator new allocates through them), the mutex
    functions, and puts a system call filter on the probed thread that traps
    every call instead of making it.
*/

#include "TestSupport.h"
#include "processor/PluginProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <iterator>
#include <mutex>
#include <random>
#include <thread>

#include <dlfcn.h>
#include <pthread.h>

#if defined(__linux__) && defined(__x86_64__)
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>
#define QUORVANE_CAN_TRAP_SYSTEM_CALLS 1
#else
#define QUORVANE_CAN_TRAP_SYSTEM_CALLS 0
#endif

//==============================================================================
namespace probe
{
    // Plain thread-locals with constant initialisation: reading them from inside
    // malloc must itself never allocate.
    thread_local bool watching = false;

    std::atomic<int> allocations { 0 };
    std::atomic<int> locks { 0 };
    std::atomic<int> systemCalls { 0 };

    void reset()
    {
        allocations = 0;
        locks = 0;
        systemCalls = 0;
    }

    void noteAllocation() noexcept
    {
        if (watching)
            allocations.fetch_add (1, std::memory_order_relaxed);
    }

    void noteLock() noexcept
    {
        if (watching)
            locks.fetch_add (1, std::memory_order_relaxed);
    }
} // namespace probe

//==============================================================================
// The allocator stays glibc's; these only count on the way through.
extern "C"
{
    void* __libc_malloc (size_t);
    void* __libc_calloc (size_t, size_t);
    void* __libc_realloc (void*, size_t);
    void* __libc_memalign (size_t, size_t);
    void __libc_free (void*);

    void* malloc (size_t size) noexcept
    {
        probe::noteAllocation();
        return __libc_malloc (size);
    }

    void* calloc (size_t count, size_t size) noexcept
    {
        probe::noteAllocation();
        return __libc_calloc (count, size);
    }

    void* realloc (void* block, size_t size) noexcept
    {
        probe::noteAllocation();
        return __libc_realloc (block, size);
    }

    void* memalign (size_t alignment, size_t size) noexcept
    {
        probe::noteAllocation();
        return __libc_memalign (alignment, size);
    }

    void* aligned_alloc (size_t alignment, size_t size) noexcept
    {
        probe::noteAllocation();
        return __libc_memalign (alignment, size);
    }

    int posix_memalign (void** result, size_t alignment, size_t size) noexcept
    {
        probe::noteAllocation();

        if (alignment < sizeof (void*) || (alignment & (alignment - 1)) != 0)
            return EINVAL;

        *result = __libc_memalign (alignment, size);
        return *result != nullptr || size == 0 ? 0 : ENOMEM;
    }

    void free (void* block) noexcept
    {
        // Freeing nothing is what an empty buffer's destructor does; it costs nothing.
        if (block != nullptr)
            probe::noteAllocation();

        __libc_free (block);
    }
}

//==============================================================================
namespace
{
    template <typename Function>
    Function* nextDefinitionOf (const char* name)
    {
        return reinterpret_cast<Function*> (dlsym (RTLD_NEXT, name));
    }

    using MutexFunction = int (pthread_mutex_t*);
    using RwLockFunction = int (pthread_rwlock_t*);
} // namespace

extern "C"
{
    int pthread_mutex_lock (pthread_mutex_t* mutex) noexcept
    {
        static auto* const next = nextDefinitionOf<MutexFunction> ("pthread_mutex_lock");
        probe::noteLock();
        return next (mutex);
    }

    int pthread_mutex_trylock (pthread_mutex_t* mutex) noexcept
    {
        static auto* const next = nextDefinitionOf<MutexFunction> ("pthread_mutex_trylock");
        probe::noteLock();
        return next (mutex);
    }

    int pthread_rwlock_rdlock (pthread_rwlock_t* lock) noexcept
    {
        static auto* const next = nextDefinitionOf<RwLockFunction> ("pthread_rwlock_rdlock");
        probe::noteLock();
        return next (lock);
    }

    int pthread_rwlock_wrlock (pthread_rwlock_t* lock) noexcept
    {
        static auto* const next = nextDefinitionOf<RwLockFunction> ("pthread_rwlock_wrlock");
        probe::noteLock();
        return next (lock);
    }
}

//==============================================================================
namespace
{
#if QUORVANE_CAN_TRAP_SYSTEM_CALLS
    // Runs on the probed thread whenever it makes a system call: the call is
    // not made and reports ENOSYS.
    void onTrappedSystemCall (int, siginfo_t*, void* context)
    {
        if (probe::watching)
            probe::systemCalls.fetch_add (1, std::memory_order_relaxed);

        static_cast<ucontext_t*> (context)->uc_mcontext.gregs[REG_RAX] = -ENOSYS;
    }

    /** From now on every system call of this thread traps, except those it
        needs to return from the trap and to end.
    */
    bool trapSystemCallsOnThisThread()
    {
        sock_filter filter[] {
            BPF_STMT (BPF_LD | BPF_W | BPF_ABS, offsetof (seccomp_data, nr)),
            BPF_JUMP (BPF_JMP | BPF_JEQ | BPF_K, __NR_rt_sigreturn, 3, 0),
            BPF_JUMP (BPF_JMP | BPF_JEQ | BPF_K, __NR_exit, 2, 0),
            BPF_JUMP (BPF_JMP | BPF_JEQ | BPF_K, __NR_exit_group, 1, 0),
            BPF_STMT (BPF_RET | BPF_K, SECCOMP_RET_TRAP),
            BPF_STMT (BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        };

        sock_fprog program { (unsigned short) std::size (filter), filter };

        return prctl (PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && syscall (SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
    }
#endif

    /** Runs body on a thread of its own whose every system call is trapped and,
        while body has probe::watching set, counted. body must not need the
        system for anything else: its calls would fail.
        Returns false where system calls cannot be trapped; body then still runs
        and allocations and locks are still counted.
    */
    template <typename Body>
    bool runOnProbedThread (Body&& body)
    {
        auto trapping = false;

#if QUORVANE_CAN_TRAP_SYSTEM_CALLS
        struct sigaction action
        {
        };
        struct sigaction previous
        {
        };
        action.sa_sigaction = onTrappedSystemCall;
        action.sa_flags = SA_SIGINFO;
        sigaction (SIGSYS, &action, &previous);
#endif

        std::thread probed ([&]
                            {
            // The thread's first allocation and first lock set things up with
            // the system's help; that must happen before the filter goes on.
            std::free (std::malloc (1));
            std::mutex warmUp;
            warmUp.lock();
            warmUp.unlock();

#if QUORVANE_CAN_TRAP_SYSTEM_CALLS
            trapping = trapSystemCallsOnThisThread();
#endif
            body(); });

        probed.join();

#if QUORVANE_CAN_TRAP_SYSTEM_CALLS
        sigaction (SIGSYS, &previous, nullptr);
#endif

        return trapping;
    }

    struct Watch
    {
        Watch() { probe::watching = true; }
        ~Watch() { probe::watching = false; }
    };

    //==============================================================================
    using TestSupport::makeLayout;

    /** One host block of the schedule and the mode the user and host had set. */
    struct Step
    {
        int numSamples;
        bool on, aButton, diff, match, blind, blindPlaysA;
    };

    std::vector<Step> makeSchedule (int numBlocks, int maxBlockSize, unsigned seed)
    {
        std::mt19937 random (seed);
        std::uniform_int_distribution<int> size (0, maxBlockSize);
        std::bernoulli_distribution change (0.2);

        std::vector<Step> schedule;
        Step step { 0, true, true, false, true, false, true };

        for (int i = 0; i < numBlocks; ++i)
        {
            step.numSamples = i < 2 ? i * maxBlockSize : size (random);

            for (auto* flag : { &step.on, &step.aButton, &step.diff, &step.match, &step.blind, &step.blindPlaysA })
                if (change (random))
                    *flag = ! *flag;

            schedule.push_back (step);
        }

        return schedule;
    }

    struct Counts
    {
        int allocations, locks, systemCalls;
    };

    /** How the host flags the schedule's blocks. */
    enum class RenderMode
    {
        realTime,
        offline,
        offlineThenRealTime
    };

    /** Prepares a processor for the layout, then runs the schedule through
        processBlock on the probed thread: in real time with the analyser thread
        running; offline, as prepared for, with the loudness measured on the
        probed thread itself; or offline for the first half and in real time
        for the second, without preparing again.
    */
    Counts runSchedule (const juce::AudioProcessor::BusesLayout& layout, RenderMode mode,
                        int preparedBlockSize, const std::vector<Step>& schedule)
    {
        QuorvaneAudioProcessor processor;
        EXPECT_TRUE (processor.setBusesLayout (layout));
        processor.setNonRealtime (mode != RenderMode::realTime);
        processor.prepareToPlay (48000.0, preparedBlockSize);

        const auto numChannels = juce::jmax (processor.getTotalNumInputChannels(), processor.getTotalNumOutputChannels());
        const auto maxBlockSize = 8 * preparedBlockSize;

        // Noise at three levels, so that both sources are measured as active
        // and the match gain moves.
        juce::AudioBuffer<float> source (numChannels, maxBlockSize);
        juce::Random random (1);

        for (int ch = 0; ch < numChannels; ++ch)
            for (int i = 0; i < maxBlockSize; ++i)
                source.setSample (ch, i, (random.nextFloat() - 0.5f) * 0.25f * (float) (1 + ch % 3));

        // Every view is made here: a buffer referring to more than a few dozen
        // channels allocates its pointer array, which is the host's business.
        juce::AudioBuffer<float> host (numChannels, maxBlockSize);
        std::vector<juce::AudioBuffer<float>> views;
        views.reserve (schedule.size());

        for (const auto& step : schedule)
            views.emplace_back (host.getArrayOfWritePointers(), numChannels, step.numSamples);

        juce::MidiBuffer midi;
        auto* onButton = processor.parameters.getRawParameterValue ("onButton");
        auto* aButton = processor.parameters.getRawParameterValue ("AButton");

        probe::reset();

        const auto trapped = runOnProbedThread ([&]
                                                {
            for (size_t i = 0; i < schedule.size(); ++i)
            {
                const auto& step = schedule[i];

                if (mode == RenderMode::offlineThenRealTime && i == schedule.size() / 2)
                    processor.setNonRealtime (false);

                onButton->store (step.on ? 1.0f : 0.0f);
                aButton->store (step.aButton ? 1.0f : 0.0f);
                processor.diffMode = step.diff;
                processor.matchB = step.match;
                processor.blindTestActive = step.blind;
                processor.blindPlaysA = step.blindPlaysA;

                for (int ch = 0; ch < numChannels; ++ch)
                    juce::FloatVectorOperations::copy (host.getWritePointer (ch), source.getReadPointer (ch), step.numSamples);

                const Watch watch;
                processor.processBlock (views[i], midi);
            } });

        if (! trapped)
            ADD_FAILURE() << "system calls could not be trapped on this machine";

        return { probe::allocations.load(), probe::locks.load(), probe::systemCalls.load() };
    }
} // namespace

//==============================================================================
TEST (Realtime, TheProbesSeeAllocationsLocksAndSystemCalls)
{
    std::mutex mutex;
    probe::reset();

    // Kept where the compiler cannot see it, so that no allocation is elided.
    static void* volatile sink = nullptr;

    const auto trapped = runOnProbedThread ([&]
                                            {
                                                const Watch watch;
                                                sink = new int (3);
                                                delete static_cast<int*> (sink);
                                                sink = std::malloc (16);
                                                std::free (sink);
                                                const std::lock_guard<std::mutex> lock (mutex);
#if QUORVANE_CAN_TRAP_SYSTEM_CALLS
                                                syscall (SYS_getpid);
#endif
                                            });

    EXPECT_GE (probe::allocations.load(), 4);
    EXPECT_EQ (probe::locks.load(), 1);

    if (trapped)
    {
        EXPECT_EQ (probe::systemCalls.load(), 1);
    }

    // Nothing is counted off the probed thread.
    probe::reset();
    sink = new int (4);
    delete static_cast<int*> (sink);
    EXPECT_EQ (probe::allocations.load(), 0);
}

TEST (Realtime, ProcessBlockNeitherAllocatesNorLocksNorCallsTheSystemInAnyLayout)
{
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    const auto none = juce::AudioChannelSet::disabled();

    struct Case
    {
        const char* name;
        juce::AudioProcessor::BusesLayout layout;
        RenderMode mode = RenderMode::realTime;
    };

    const Case cases[] {
        { "stereo, B stereo", makeLayout (stereo, stereo) },
        { "stereo, B mono", makeLayout (stereo, mono) },
        { "stereo, no B", makeLayout (stereo, none) },
        { "mono, B stereo", makeLayout (mono, stereo) },
        { "mono, B mono", makeLayout (mono, mono) },
        { "mono, no B", makeLayout (mono, none) },
        { "stereo, B of 40 channels", makeLayout (stereo, juce::AudioChannelSet::discreteChannels (40)) },
        { "stereo, B stereo, offline", makeLayout (stereo, stereo), RenderMode::offline },
        { "stereo, B stereo, real time after an offline render", makeLayout (stereo, stereo), RenderMode::offlineThenRealTime },
    };

    constexpr int preparedBlockSize = 256;
    unsigned seed = 2024;

    for (const auto& [name, layout, mode] : cases)
    {
        const auto schedule = makeSchedule (10000, 8 * preparedBlockSize, seed++);
        const auto counts = runSchedule (layout, mode, preparedBlockSize, schedule);

        EXPECT_EQ (counts.allocations, 0) << name;
        EXPECT_EQ (counts.locks, 0) << name;
        EXPECT_EQ (counts.systemCalls, 0) << name;
    }
}
