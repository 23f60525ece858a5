#include "tests/support/private_pulse_daemon.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
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
    for (const SineSource& source : sources) {
        if (!loadSineSource(source)) {
            running_ = false;
            error_ = "cannot load sine source " + source.name + ": " + readFile(log);
            return;
        }
    }
}

PrivatePulseDaemon::~PrivatePulseDaemon() {
    if (daemonProcess_ > 0) {
        kill(daemonProcess_, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        int status = 0;
        while (waitpid(daemonProcess_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(daemonProcess_, SIGKILL);
                waitpid(daemonProcess_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    restoreEnvironment();
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
    const std::string output = pactl(
        "load-module module-sine-source " + shellQuote(sineModuleArguments(source)), &exitCode);
    if (exitCode != 0) {
        return false;
    }
    sourceModules_.emplace_back(source.name, std::atoi(output.c_str()));
    return true;
}

bool PrivatePulseDaemon::unloadSource(const std::string& name) {
    for (auto it = sourceModules_.begin(); it != sourceModules_.end(); ++it) {
        if (it->first == name) {
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
