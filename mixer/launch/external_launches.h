#pragma once

#include "base/ports/launcher_port.h"
#include "base/ports/prompt_port.h"
#include "mixer/launch/program_locations.h"
#include "mixer/project/mix_job.h"

#include <QList>

#include <vector>

class QWidget;

namespace mixer {

inline constexpr const char* kSelectVideosText = "Please select items!";
inline constexpr const char* kSelectAudioToPreviewText = "Please click an item to preview!";
inline constexpr const char* kDoesNotExistSuffix = " does not exist!";

// The main window's commands that hand work to other programs: the recorder, the help pages,
// the desktop's player for listed files and the browser for the maker's pages. Every start
// goes through the launcher port, never through a shell, so a file name reaches the player as
// one argument whatever it holds. Each call returns at once. Use on the UI thread; the ports
// must outlive this object.
class ExternalLaunches {
  public:
    ExternalLaunches(base::LauncherPort& launcher, base::PromptPort& prompt,
                     ProgramLocations locations);

    // "Microphone": starts the recorder program without arguments. A failed start shows
    // nothing (it is logged); returns whether it started.
    bool startRecorder();

    // "&Help": opens the introduction of the help pages in the desktop's browser. Returns
    // false (and logs) when no help folder holds it or the desktop cannot open it.
    bool openHelp();

    // Double clicks on the lists: plays the selected rows (ascending, each row once) with the
    // desktop's associated player. An empty list does nothing; no selection shows the list's
    // reminder (owned by `owner`). A file that cannot be read shows its path + " does not
    // exist!" (caption "Error", no owner) and ends the visit; rows before it are already
    // playing.
    void playSelectedVideos(const std::vector<VideoEntry>& videos, const QList<int>& selectedRows,
                            QWidget* owner = nullptr);
    void playSelectedAudios(const std::vector<AudioEntry>& audios, const QList<int>& selectedRows,
                            QWidget* owner = nullptr);

    // The offer after a completed mix: plays `outputName` with the desktop's associated player,
    // or says "<path> does not exist!" (caption "Error") when it cannot be read.
    void playMixOutput(const std::string& outputName, QWidget* owner = nullptr);

    // "Homepage": the maker's home page in the desktop's browser.
    bool openHomePage();

    // "About" (and the window menu's "&About Orvindel"): the About box, modal.
    void showAbout(QWidget* parent);

  private:
    void playFiles(const std::vector<std::string>& fileNames, const QList<int>& selectedRows,
                   const char* noSelectionText, QWidget* owner);

    base::LauncherPort& launcher_;
    base::PromptPort& prompt_;
    ProgramLocations locations_;
};

}  // namespace mixer
