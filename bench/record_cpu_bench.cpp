// record-cpu: the share of one core a take costs in each file format, recorded from a private
// sound server's stereo tone source at 48 kHz (the meter, the server's client thread and the
// writer thread all count: the figure is this process's CPU time over the take's wall time,
// less the time of the fixture's tone feeder thread, which stands in for the sound card, and
// less what the process takes without a take).
// Usage: record_cpu_bench [SECONDS]   (60 by default; a few seconds for a quick check)

#include "capture/audio_server.h"
#include "capture/recording_session.h"
#include "tests/support/private_pulse_daemon.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    const int takeSeconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    test_support::PrivatePulseDaemon daemon(
        {{"bench_tone", 440.0, 48000, test_support::ToneDelivery::PacedPipe, 2}});
    if (!daemon.isRunning()) {
        std::fprintf(stderr, "no private sound server: %s\n", daemon.error().c_str());
        return 1;
    }
    capture::CaptureResult error;
    auto server = capture::AudioServer::connect("record-cpu", error);
    if (!server) {
        std::fprintf(stderr, "%s\n", error.text().c_str());
        return 1;
    }
    // What the process costs without a take: the feeder that paces the tone into the server.
    const int idleSeconds = std::min(takeSeconds, 5);
    const double idleCpuBefore = processCpuSeconds() - daemon.feederCpuSeconds();
    const auto idleWallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double idlePercent =
        100.0 * (processCpuSeconds() - daemon.feederCpuSeconds() - idleCpuBefore) /
        std::chrono::duration<double>(std::chrono::steady_clock::now() - idleWallBefore).count();
    std::printf("idle (no take, feeder left out): %.2f %% of one core, subtracted below\n",
                idlePercent);
    double worstPercent = 0.0;
    for (const char* extension : {".wav", ".flac", ".opus"}) {
        const std::string path = (daemon.folder() / (std::string("take") + extension)).string();
        auto session = server->openRecording("bench_tone", path, error);
        if (!session || session->run().failed()) {
            std::fprintf(stderr, "%s: %s\n", extension, error.text().c_str());
            return 1;
        }
        const double cpuBefore = processCpuSeconds() - daemon.feederCpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(takeSeconds));
        const capture::CaptureResult stopped = session->stop();
        const double cpuSeconds = processCpuSeconds() - daemon.feederCpuSeconds() - cpuBefore;
        const double wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        if (stopped.failed()) {
            std::fprintf(stderr, "%s: %s\n", extension, stopped.text().c_str());
            return 1;
        }
        if (session->format().channelCount != 2) {
            std::fprintf(stderr, "%s: recorded %d channels, not 2\n", extension,
                         session->format().channelCount);
            return 1;
        }
        const double percent = std::max(0.0, 100.0 * cpuSeconds / wallSeconds - idlePercent);
        worstPercent = std::max(worstPercent, percent);
        std::printf("%-5s %d ch %d Hz, %.1f s: %.3f s CPU, %.2f %% of one core\n", extension + 1,
                    session->format().channelCount, session->format().sampleRateHz, wallSeconds,
                    cpuSeconds, percent);
    }
    std::printf("record-cpu: %.2f %%\n", worstPercent);
    return 0;
}
