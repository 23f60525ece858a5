#include "mixer/cli/command_line.h"
#include "mixer/cli/headless_render.h"
#include "mixer/project/settings_store.h"
#include "mixer/window/orvindel_application.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

namespace {

void nameTheApplication() {
    // The maker and program names locate the profile (~/.config/Korvane/orvindel.conf).
    QCoreApplication::setOrganizationName(mixer::SettingsStore::kOrganisation);
    QCoreApplication::setApplicationName(mixer::SettingsStore::kApplication);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVINDEL_VERSION));
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const mixer::ParsedCommandLine parsed = mixer::parseCommandLine(arguments);
    if (!parsed.commandLine) {
        std::fprintf(stderr, "orvindel: %s\nTry 'orvindel --help'.\n",
                     parsed.problem.toLocal8Bit().constData());
        return mixer::kExitBadInput;
    }
    const mixer::CommandLine& line = *parsed.commandLine;
    switch (line.mode) {
        case mixer::CommandMode::Help:
            std::fputs(mixer::commandLineHelpText().toLocal8Bit().constData(), stdout);
            return mixer::kExitDone;
        case mixer::CommandMode::Version:
            std::printf("Orvindel %s\n", ORVINDEL_VERSION);
            return mixer::kExitDone;
        case mixer::CommandMode::Render: {
            // No display: a core application at most, never a GUI one.
            QCoreApplication core(argc, argv);
            nameTheApplication();
            const mixer::SettingsStore store;
            return mixer::runHeadlessRender(line, store);
        }
        case mixer::CommandMode::Window:
            break;
    }
    QApplication application(argc, argv);
    nameTheApplication();
    QApplication::setApplicationDisplayName(QStringLiteral("Orvindel"));
    mixer::OrvindelApplication orvindel;
    return orvindel.run(line.files);
}
