#pragma once

#include "mixer/project/mix_job.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace mixer {

// A mix deletes an existing output file before it writes, so the output may never be a file
// the user keeps: a clip on either list, the open project file or a file being recorded.
// Identity is the file's device and inode, so another spelling of the path, a symbolic link
// and a hard link are caught as well as the same name. Plain functions over the job; usable
// by the window's Mix command and by the command-line render alike.

enum class ProtectedFileKind { VideoClip, AudioClip, ProjectFile, Recording };

struct ProtectedFile {
    ProtectedFileKind kind = ProtectedFileKind::VideoClip;
    std::string fileName;  // as the user knows it (list entry, project path), UTF-8
};

// The first file of the lists (videos first, then audios) or of `otherProtectedFiles` that is
// the same file on disk as `outputFileName`; nothing when the output does not exist yet or is
// none of them. Files that do not exist are never a clash.
std::optional<ProtectedFile> findProtectedOutputClash(
    const MixJob& job, const std::string& outputFileName,
    const std::vector<ProtectedFile>& otherProtectedFiles = {});

// The message that refuses the output, naming the file it would destroy.
QString protectedOutputMessage(const ProtectedFile& clash, const std::string& outputFileName);

inline constexpr const char* kProtectedOutputCaption = "Error";

}  // namespace mixer
