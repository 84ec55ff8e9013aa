// The soak test: thousands of random user actions on the real main window,
// checked after every one.
//
//   memorion_soak_test [--steps=N] [--seeds=A,B,...] [--fresh-seed] [--trace]
//
// Each seed runs N steps from a freshly started program: an odd seed's is
// started with a generated biography near the limits (and is again after
// each restart), an even seed's starts empty; a fresh seed is odd. A
// failure names its seed and step; the same seed and steps replay it.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "soak_driver.h"

namespace {

struct Run {
    long steps = 2000;
    std::vector<unsigned> seeds;
    bool trace = false;
};

Run soakRun;

// The settings not taken by GoogleTest; false for one not understood.
bool readArguments(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--steps=", 0) == 0) {
            soakRun.steps = std::atol(arg.c_str() + 8);
        } else if (arg.rfind("--seeds=", 0) == 0) {
            for (size_t at = 8; at < arg.size();) {
                soakRun.seeds.push_back(static_cast<unsigned>(std::strtoul(arg.c_str() + at, nullptr, 10)));
                const size_t comma = arg.find(',', at);
                at = comma == std::string::npos ? arg.size() : comma + 1;
            }
        } else if (arg == "--fresh-seed") {
            soakRun.seeds.push_back((static_cast<unsigned>(std::time(nullptr)) ^ GetTickCount()) | 1);
        } else if (arg == "--trace") {
            soakRun.trace = true;
        } else {
            std::fprintf(stderr, "unknown argument %s\n", arg.c_str());
            return false;
        }
    }
    if (soakRun.seeds.empty()) soakRun.seeds.push_back(1);
    return true;
}

} // namespace

using SoakTest = MainWindowFixture;

TEST_F(SoakTest, RandomUserActionsKeepEveryPromise)
{
    long total = 0;
    const DWORD started = GetTickCount();
    for (size_t i = 0; i < soakRun.seeds.size(); ++i) {
        if (i > 0) {
            TearDown();
            SetUp();
        }
        SoakSettings settings;
        settings.seed = soakRun.seeds[i];
        settings.steps = soakRun.steps;
        settings.trace = soakRun.trace;
        settings.nearCapacity = settings.seed % 2 == 1;
        settings.folder = makeTestFolder("soak-" + std::to_string(settings.seed));
        // Printed first, so that even a crash names the seed to replay.
        std::printf("soak seed %u: %ld steps%s\n", settings.seed, settings.steps,
                    settings.nearCapacity ? ", near capacity" : "");
        std::fflush(stdout);
        const DWORD seedStarted = GetTickCount();
        Soak soak(settings, [this] { SetUp(); });
        soak.run();
        total += soak.stepsTaken();
        std::printf("soak seed %u: %ld steps in %.1f s, %d entries and %d categories at the end; "
                    "%d crashes, %d biographies recovered\n",
                    settings.seed, soak.stepsTaken(), (GetTickCount() - seedStarted) / 1000.0,
                    BiographyDocument.entryCount, BiographyDocument.categoryCount, soak.crashes(),
                    soak.recoveries());
        std::fflush(stdout);
        EXPECT_EQ(soak.failure(), "");
    }
    std::printf("soak: %ld steps over %zu seeds in %.1f s\n", total, soakRun.seeds.size(),
                (GetTickCount() - started) / 1000.0);
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!readArguments(argc, argv)) return 2;
    if (!registerMainWindowClass(GetModuleHandleA(NULL))) {
        std::fprintf(stderr, "cannot register the main window class\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
