// Test entry for suites that show widgets: one QApplication for the whole process,
// on the offscreen platform unless the environment asks for another.
#include <gtest/gtest.h>
#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

int main(int argc, char** argv) {
    // Settings and recovery files written by the programs under test land in a folder of this
    // process, never in the user's own configuration or state.
    const auto configFolder = std::filesystem::temp_directory_path() /
                              ("orvindel-test-config-" + std::to_string(getpid()));
    std::filesystem::create_directories(configFolder);
    setenv("XDG_CONFIG_HOME", configFolder.c_str(), 1);
    setenv("XDG_STATE_HOME", (configFolder / "state").c_str(), 1);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(configFolder, ignored);
    return result;
}
