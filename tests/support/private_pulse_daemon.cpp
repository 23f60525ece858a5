#include "tests/support/private_pulse_daemon.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "tests/support/media_fixtures.h"

extern char** environ;

namespace test_support {
namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string sineModuleArguments(const SineSource& source) {
    std::ostringstream arguments;
    arguments << "source_name=" << source.name << " frequency=" << source.frequencyHz
              << " rate=" << source.sampleRateHz;
    return arguments.str();
}

}  // namespace

// Writes a float32 sine (mono, or stereo with a fifth higher on the right) into the pipe of a
// pipe source, 10 ms at a time on a steady schedule, until stopped or the pipe goes away.
struct PrivatePulseDaemon::PacedFeeder {
    std::string name;
    std::atomic<bool> stopping{false};
    std::thread thread;

    PacedFeeder(std::string sourceName, const std::filesystem::path& pipe, double frequencyHz,
                int sampleRateHz, int channelCount = 1)
        : name(std::move(sourceName)) {
        thread = std::thread([this, pipe, frequencyHz, sampleRateHz, channelCount] {
            const int descriptor = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (descriptor < 0) {
                return;
            }
            const int framesPerPiece = sampleRateHz / 100;
            std::vector<float> piece(static_cast<std::size_t>(framesPerPiece * channelCount));
            long long frame = 0;
            auto next = std::chrono::steady_clock::now();
            while (!stopping.load()) {
                for (int i = 0; i < framesPerPiece; ++i, ++frame) {
                    for (int channel = 0; channel < channelCount; ++channel) {
                        const double channelHz = frequencyHz * (channel == 0 ? 1.0 : 1.5);
                        piece[static_cast<std::size_t>(i * channelCount + channel)] =
                            static_cast<float>(0.5 *
                                               std::sin(2.0 * M_PI * channelHz *
                                                        static_cast<double>(frame) / sampleRateHz));
                    }
                }
                // While the source is idle it reads nothing; sound of that time is lost, as at
                // a sound card, rather than piling up in the pipe.
                int pendingBytes = 0;
                ::ioctl(descriptor, FIONREAD, &pendingBytes);
                if (pendingBytes <= static_cast<int>(5 * piece.size() * sizeof(float))) {
                    const ssize_t written =
                        ::write(descriptor, piece.data(), piece.size() * sizeof(float));
                    if (written < 0 && errno != EAGAIN) {
                        break;  // the source was unloaded
                    }
                }
                next += std::chrono::milliseconds(10);
                std::this_thread::sleep_until(next);
            }
            ::close(descriptor);
        });
    }
    ~PacedFeeder() {
        stopping = true;
        thread.join();
    }
};

double PrivatePulseDaemon::feederCpuSeconds() const {
    double seconds = 0.0;
    for (const auto& feeder : feeders_) {
        clockid_t clock{};
        timespec used{};
        if (feeder->thread.joinable() &&
            ::pthread_getcpuclockid(feeder->thread.native_handle(), &clock) == 0 &&
            ::clock_gettime(clock, &used) == 0) {
            seconds += static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
        }
    }
    return seconds;
}

PrivatePulseDaemon::PrivatePulseDaemon(const std::vector<SineSource>& sources) {
    const auto runtime = folder_.path() / "runtime";
    const auto home = folder_.path() / "home";
    std::filesystem::create_directories(runtime);
    std::filesystem::create_directories(home);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    const auto socket = folder_.path() / "native";
    serverAddress_ = "unix:" + socket.string();

    for (const char* name :
         {"PULSE_RUNTIME_PATH", "PULSE_SERVER", "XDG_RUNTIME_DIR", "HOME", "PULSE_STATE_PATH"}) {
        if (const char* value = std::getenv(name)) {
            savedEnvironment_.emplace_back(name, value);
        } else {
            unsetEnvironment_.emplace_back(name);
        }
    }
    setenv("PULSE_RUNTIME_PATH", runtime.c_str(), 1);
    setenv("PULSE_STATE_PATH", (folder_.path() / "state").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    setenv("PULSE_SERVER", serverAddress_.c_str(), 1);

    sources_ = sources;
    start();
}

void PrivatePulseDaemon::start() {
    const auto socket = folder_.path() / "native";
    const auto config = folder_.path() / "daemon.pa";
    {
        std::ofstream script(config);
        script << "load-module module-native-protocol-unix socket=" << socket.string()
               << " auth-anonymous=1\n";
        script << "load-module module-null-sink sink_name=private_null_sink\n";
    }
    const auto log = folder_.path() / "daemon.log";
    const std::string logTarget = "--log-target=file:" + log.string();
    const std::string configArgument = config.string();
    // --system=false: we may run as root (CI); the daemon then still runs per user, here.
    std::vector<const char*> arguments = {"pulseaudio",           "-n",
                                          "--daemonize=no",       "--exit-idle-time=-1",
                                          "--disallow-exit",      "--system=false",
                                          "--use-pid-file=false", "--disable-shm=true",
                                          logTarget.c_str(),      "-F",
                                          configArgument.c_str(), nullptr};
    error_.clear();
    if (posix_spawnp(&daemonProcess_, "pulseaudio", nullptr, nullptr,
                     const_cast<char* const*>(arguments.data()), environ) != 0) {
        daemonProcess_ = -1;
        error_ = "cannot start pulseaudio";
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(daemonProcess_, &status, WNOHANG) == daemonProcess_) {
            daemonProcess_ = -1;
            error_ = "pulseaudio ended at start-up: " + readFile(log);
            return;
        }
        int exitCode = -1;
        if (std::filesystem::exists(socket)) {
            pactl("info", &exitCode);
            if (exitCode == 0) {
                running_ = true;
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!running_) {
        error_ = "pulseaudio did not answer: " + readFile(log);
        return;
    }
    for (const SineSource& source : sources_) {
        if (!loadSineSource(source)) {
            running_ = false;
            error_ = "cannot load sine source " + source.name + ": " + readFile(log);
            return;
        }
    }
}

PrivatePulseDaemon::~PrivatePulseDaemon() {
    stop(SIGTERM);
    restoreEnvironment();
}

void PrivatePulseDaemon::stop(int signalNumber) {
    feeders_.clear();
    sourceModules_.clear();
    running_ = false;
    if (daemonProcess_ <= 0) {
        return;
    }
    ::kill(daemonProcess_, signalNumber);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (waitpid(daemonProcess_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(daemonProcess_, SIGKILL);
            waitpid(daemonProcess_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    daemonProcess_ = -1;
}

void PrivatePulseDaemon::kill() {
    stop(SIGKILL);
    std::filesystem::remove(folder_.path() / "native");  // as a crashed daemon leaves it
}

bool PrivatePulseDaemon::restart() {
    start();
    return running_;
}

void PrivatePulseDaemon::restoreEnvironment() {
    for (const auto& [name, value] : savedEnvironment_) {
        setenv(name.c_str(), value.c_str(), 1);
    }
    for (const auto& name : unsetEnvironment_) {
        unsetenv(name.c_str());
    }
}

bool PrivatePulseDaemon::loadSineSource(const SineSource& source) {
    int exitCode = -1;
    std::string output;
    if (source.channelCount < 1 || source.channelCount > 2 ||
        (source.channelCount != 1 && source.delivery == ToneDelivery::SineModule)) {
        return false;
    }
    if (source.delivery == ToneDelivery::SineModule) {
        output = pactl("load-module module-sine-source " + sineModuleArguments(source), &exitCode);
    } else {
        const auto pipe = folder_.path() / ("pipe-" + source.name);
        output = pactl("load-module module-pipe-source source_name=" + source.name +
                           " file=" + shellQuote(pipe.string()) +
                           " format=float32le channels=" + std::to_string(source.channelCount) +
                           (source.channelCount == 2 ? " channel_map=front-left,front-right" : "") +
                           " rate=" + std::to_string(source.sampleRateHz),
                       &exitCode);
        if (exitCode == 0) {
            feeders_.push_back(std::make_unique<PacedFeeder>(
                source.name, pipe, source.frequencyHz, source.sampleRateHz, source.channelCount));
        }
    }
    if (exitCode != 0) {
        return false;
    }
    sourceModules_.emplace_back(source.name, std::atoi(output.c_str()));
    return true;
}

void PrivatePulseDaemon::stopFeeder(const std::string& name) {
    for (auto it = feeders_.begin(); it != feeders_.end(); ++it) {
        if ((*it)->name == name) {
            feeders_.erase(it);
            return;
        }
    }
}

bool PrivatePulseDaemon::unloadSource(const std::string& name) {
    for (auto it = sourceModules_.begin(); it != sourceModules_.end(); ++it) {
        if (it->first == name) {
            stopFeeder(name);
            int exitCode = -1;
            pactl("unload-module " + std::to_string(it->second), &exitCode);
            sourceModules_.erase(it);
            return exitCode == 0;
        }
    }
    return false;
}

std::string PrivatePulseDaemon::pactl(const std::string& arguments, int* exitCode) const {
    const std::string command =
        "pactl --server=" + shellQuote(serverAddress_) + " " + arguments + " 2>/dev/null";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        if (exitCode != nullptr) {
            *exitCode = -1;
        }
        return output;
    }
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
        output += buffer.data();
    }
    const int status = pclose(pipe);
    if (exitCode != nullptr) {
        *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return output;
}

}  // namespace test_support
