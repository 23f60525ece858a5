#include "mixer/project/settings_store.h"
#include "mixer/window/orvindel_application.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The maker and program names locate the profile (~/.config/Korvane/orvindel.conf).
    QApplication::setOrganizationName(mixer::SettingsStore::kOrganisation);
    QApplication::setApplicationName(mixer::SettingsStore::kApplication);
    QApplication::setApplicationDisplayName(QStringLiteral("Orvindel"));
    mixer::OrvindelApplication orvindel;
    return orvindel.run();
}
