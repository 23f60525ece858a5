#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace mixer {

// Orvindel's command line, documented in docs/command-line.md:
//   orvindel [FILE...]                          the window, with the files opened or added
//   orvindel --render PROJECT [-o OUTPUT]       render a project without a window
//   orvindel --render -o OUTPUT MEDIA...        render media files without a window
//   --size WxH, --rate FPS                      override the output size and frame rate
//   --help, --version

enum class CommandMode { Window, Help, Version, Render };

struct CommandLine {
    CommandMode mode = CommandMode::Window;
    QStringList files;  // as given: a project, or media files
    QString outputFileName;
    std::optional<int> width;
    std::optional<int> height;
    std::optional<double> frameRate;
};

struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;  // empty when the arguments are wrong
    QString problem;                         // what is wrong, for stderr
};

// `arguments` without the program's name.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

QString commandLineHelpText();

// Whether `path` names a project file (by its suffix).
bool isProjectFileName(const QString& path);

// Whether a media file goes to the audio list (a sound file) rather than the video list, by
// the suffixes the add-audio dialog lists.
bool isSoundFileName(const QString& path);

}  // namespace mixer
