#pragma once

#include "mixer/project/mix_job.h"
#include "mixer/project/transition_choice.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mixer {

// The project file ("*.orvindel"): UTF-8 JSON, a public, versioned format documented in
// docs/project-file.md. This unit turns lists and output settings into its text and back; it
// reads and writes no file and probes nothing (durations come from the caller).

inline constexpr const char* kProjectFormatName = "orvindel-project";
inline constexpr int kProjectFormatVersion = 1;
inline constexpr const char* kProjectFileSuffix = "orvindel";

// The compressor choices a project names ("videoCompressor", "audioCompressor"), as the output
// options list them for the output's container; empty where the file names none.
struct ProjectCompressorNames {
    QString video;
    QString audio;

    bool operator==(const ProjectCompressorNames&) const = default;
};

enum class CompressorStream { Video, Audio };
enum class CompressorNameMeaning { Unknown, Compressor, Uncompressed };

// What `name` means in the `stream` list the output options show for an output named
// `outputName` (UTF-8): one of its compressors, its "uncompressed" entry, or nothing known.
using CompressorNameCheck = std::function<CompressorNameMeaning(
    CompressorStream stream, const std::string& outputName, const QString& name)>;

// What a project file holds. Entry durations are not part of the format: a reader's caller
// probes the files (each distinct file once) and fills them in.
struct ProjectContents {
    std::vector<VideoEntry> videos;
    std::vector<AudioEntry> audios;
    OutputSettings output;
    ProjectCompressorNames compressorNames = {};
};

// The project as JSON text. Paths inside `projectFolder` (absolute, UTF-8) are written
// relative to it, all others absolute, so a folder holding its project and media can be moved
// as a whole.
QByteArray projectFileText(const ProjectContents& contents, const QString& projectFolder);

// What a reader needs besides the text: the folder relative paths are resolved against, the
// output settings that keys left out keep, and how a video without a "transition" gets one
// (as a clip added by the add button gets it, by its place in the list).
struct ProjectReadContext {
    QString projectFolder;
    OutputSettings currentOutput;
    TransitionDefaults transitionDefaults;
    RandomNumberSource randomNumbers = standardRandomNumbers();
    // Checks compressor names; empty: names are taken unchecked and change no use flag.
    CompressorNameCheck compressorNames;
};

struct ProjectReadResult {
    std::optional<ProjectContents> contents;  // empty when refused
    QString problem;                          // why it was refused, for the user
};

// Reads a project text. A newer version, text that is not JSON, another format or a value of
// the wrong type is refused with a message naming the problem, as is a compressor name the
// check does not know; unknown keys are ignored and missing ones take their defaults. A
// compressor name decides its stream's use flag unless "videoCompression" / "audioCompression"
// says false. Paths come back absolute.
ProjectReadResult readProjectText(const QByteArray& text, const ProjectReadContext& context);

// Checks the spans of entries whose Durations are filled in (probed): an in point at or after
// the end of its file, or an out point beyond it, gives a message naming the entry (its kind,
// its place in the list and its file); the caller refuses the project. When all fit, an out
// point at the file's end becomes 0 ("to the end"), as the trim dialog stores it, and the
// message is empty.
QString checkSpansWithinFiles(ProjectContents& probed);

}  // namespace mixer
