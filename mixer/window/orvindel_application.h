#pragma once

#include "editing/compressors/compressor_registry.h"
#include "mixer/project/settings_store.h"
#include "widgets/ports/desktop_launcher.h"
#include "widgets/ports/qt_file_picker.h"
#include "widgets/ports/qt_prompt.h"

#include <QStringList>

namespace mixer {

// Orvindel's application object: owns the desktop ports, the settings store and the
// compressor registry; its start-up reads the profile and binds the stored compressor choices
// (orvindel_start_up.h), creates the main window over them and runs it modally; when the window
// closes the program ends. The QApplication
// must exist, with organisation "Korvane" and application "orvindel", before it is created.
class OrvindelApplication {
  public:
    OrvindelApplication();
    OrvindelApplication(const OrvindelApplication&) = delete;
    OrvindelApplication& operator=(const OrvindelApplication&) = delete;

    // Runs the main window; returns the program's exit status. `files` come from the command
    // line: a project file is opened, media files are added as the add buttons add them.
    int run(const QStringList& files = {});

  private:
    widgets::QtPrompt prompt_;
    widgets::QtFilePicker filePicker_;
    widgets::DesktopLauncher launcher_;
    SettingsStore store_;
    // The compressors of this machine, found once at start-up.
    editing::CompressorRegistry compressors_;
};

}  // namespace mixer
