#include "mixer/launch/program_locations.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

// Run by tests/install/install_test.sh against a tree made with cmake --install; skipped when
// no installed prefix is named.
namespace mixer {
namespace {

QString installedPrefix() {
    const char* prefix = std::getenv("ORVINDEL_INSTALLED_PREFIX");
    return prefix == nullptr ? QString() : QString::fromLocal8Bit(prefix);
}

// Locations as the installed Orvindel sees them: no build tree to fall back on.
ProgramLocations installedLocations(const QString& prefix) {
    return {prefix + QStringLiteral("/bin"), {}, {}};
}

TEST(InstalledTree, OrvindelFindsTheInstalledRecorder) {
    const QString prefix = installedPrefix();
    if (prefix.isEmpty()) {
        GTEST_SKIP() << "ORVINDEL_INSTALLED_PREFIX is not set";
    }
    const QString recorder = recorderProgramPath(installedLocations(prefix));
    EXPECT_EQ(recorder, QDir::cleanPath(prefix + QStringLiteral("/bin/ambrevo")));
    EXPECT_TRUE(QFileInfo(recorder).isExecutable());
}

TEST(InstalledTree, OrvindelFindsTheInstalledHelp) {
    const QString prefix = installedPrefix();
    if (prefix.isEmpty()) {
        GTEST_SKIP() << "ORVINDEL_INSTALLED_PREFIX is not set";
    }
    const std::optional<QString> page = findHelpPage(installedLocations(prefix));
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(*page,
              QDir::cleanPath(prefix + QStringLiteral("/share/orvindel/help/Introduction.htm")));
}

}  // namespace
}  // namespace mixer
