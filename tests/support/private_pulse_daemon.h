#pragma once

#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

#include "tests/support/temporary_folder.h"

namespace test_support {

enum class ToneDelivery {
    // module-sine-source: the server's own tone, delivered in blocks of about two seconds
    // (the module has a fixed latency), so recorded lengths come in whole blocks.
    SineModule,
    // module-pipe-source (float32 mono) fed by a thread of the fixture at real-time pace in
    // 10 ms pieces: recorded lengths follow the wall clock, as with a sound card.
    PacedPipe,
};

// A sine-tone capture device of the private daemon.
struct SineSource {
    std::string name;
    double frequencyHz = 440.0;
    int sampleRateHz = 44100;
    ToneDelivery delivery = ToneDelivery::SineModule;
    // 1 or 2. A stereo source carries the tone on the left and a tone a fifth higher
    // (1.5 x frequencyHz) on the right, so the channels tell apart; only a PacedPipe source can
    // be stereo (the sine module is mono).
    int channelCount = 1;
};

// A PulseAudio daemon of the test's own: its socket, runtime folder and home live in a
// temporary folder, and this process's environment points every client (ours and the pactl
// tool) at it for as long as the object lives. It carries a null sink (whose monitor is not a
// capture device) and the sine sources asked for. The daemon is killed on destruction and the
// environment restored.
class PrivatePulseDaemon {
  public:
    explicit PrivatePulseDaemon(const std::vector<SineSource>& sources);
    ~PrivatePulseDaemon();
    PrivatePulseDaemon(const PrivatePulseDaemon&) = delete;
    PrivatePulseDaemon& operator=(const PrivatePulseDaemon&) = delete;

    // False when the daemon did not come up; error() says why (with the daemon's log).
    bool isRunning() const { return running_; }
    const std::string& error() const { return error_; }
    const std::string& serverAddress() const { return serverAddress_; }
    const std::filesystem::path& folder() const { return folder_.path(); }

    // Adds a sine source; false on failure.
    bool loadSineSource(const SineSource& source);
    // Removes a source loaded by the constructor or loadSineSource; false when unknown.
    bool unloadSource(const std::string& name);

    // Kills the daemon at once (SIGKILL), as when the sound server crashes; clients lose it.
    void kill();
    // Starts the daemon again on the same socket, with the constructor's sources (sources
    // added later are not restored); false when it did not come up (see error()).
    bool restart();

    // CPU seconds the threads feeding paced tones have used so far: they stand in for the sound
    // card, so a measure of what a client of the server costs leaves them out.
    double feederCpuSeconds() const;

    // Runs `pactl` with `arguments` (already shell-quoted) against this daemon; its output.
    std::string pactl(const std::string& arguments, int* exitCode = nullptr) const;

  private:
    struct PacedFeeder;
    void start();
    void stop(int signalNumber);
    void restoreEnvironment();
    void stopFeeder(const std::string& name);

    TemporaryFolder folder_;
    pid_t daemonProcess_ = -1;
    bool running_ = false;
    std::string error_;
    std::string serverAddress_;
    std::vector<SineSource> sources_;                         // the constructor's
    std::vector<std::pair<std::string, int>> sourceModules_;  // source name -> module index
    std::vector<std::unique_ptr<PacedFeeder>> feeders_;
    std::vector<std::pair<std::string, std::string>> savedEnvironment_;
    std::vector<std::string> unsetEnvironment_;
};

}  // namespace test_support
