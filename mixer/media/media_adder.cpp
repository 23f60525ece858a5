#include "mixer/media/media_adder.h"

#include "mixer/media/adding_progress.h"
#include "mixer/media/media_folder.h"
#include "mixer/media/media_probe.h"
#include "mixer/project/profile_loading.h"

#include <utility>

namespace mixer {

namespace {

// Patterns are used exactly as stored, blanks after some semicolons included. Filter 1 of each
// dialog adds, to its shown text and its pattern, what FFmpeg decodes and phones, cameras and
// downloads bring today; the file picker matches every pattern regardless of case.
const base::FileFilter kVideoFilter{
    QStringLiteral("Video Files "
                   "(*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.vob;*.dat;*.mp4;*.divx;*.div;*.ogm;*.qt;*."
                   "mov;*.rm;*.rmvb;*.m4v;*.mkv;*.webm;*.mts;*.m2ts;*.3gp)"),
    QStringLiteral("*.avi;*.wmv;*.asf;*.vob; *.qt; *.mov; *.mpg; *.mpeg; *.dat; *.mp4; *.divx; "
                   "*.div; *.ogm;*.rm;*.rmvb;*.m4v;*.mkv;*.webm;*.mts;*.m2ts;*.3gp")};
const base::FileFilter kAudioFilter{
    QStringLiteral("Audio files "
                   "(*.mp3;*.wma;*.wav;*.ac3;*.ogg;*.mpa;*.mp2;*.au;*.aif;*.aiff;*.snd;*.ra;*."
                   "flac;*.opus;*.m4a;*.aac)"),
    QStringLiteral("*.mp3; *.wma; *.wav; *.ac3; *.ogg; *.mpa; *.mp2; *.au; *.aif; *.aiff; *.snd; "
                   "*.ra;*.flac;*.opus;*.m4a;*.aac")};
const base::FileFilter kAnyFilter{QStringLiteral("Any Files (*.*)"), QStringLiteral("*.*;")};

QString tooLongMessage(const QString& path) {
    return QStringLiteral(
               "The path of this file is longer than the system allows (%1 bytes), so "
               "it cannot be added:\n%2")
        .arg(kMaxPathBytes - 1)
        .arg(path.left(200) + QStringLiteral("..."));
}

QString soundOnlyQuestion(const QString& path) {
    return QStringLiteral(
               "%1 holds sound only: as a video it shows no picture.\n"
               "Add it to the video list anyway? (Add audio puts a sound on the audio list.)")
        .arg(path);
}

QString pictureOnlyQuestion(const QString& path) {
    return QStringLiteral(
               "%1 holds no sound: on the audio list it is silence.\n"
               "Add it to the audio list anyway? (Add video puts a clip on the video list.)")
        .arg(path);
}

template <typename Entry>
bool listFull(const std::vector<Entry>& list) {
    return static_cast<int>(list.size()) >= kMaxListEntries;
}

QString tooLongEntry(const QString& path) {
    return QStringLiteral("%1 (the path is longer than the system allows)")
        .arg(path.left(200) + QStringLiteral("..."));
}

// Clears the adder's running flag however the add ends.
class RunningAdd {
  public:
    explicit RunningAdd(bool& running) : running_(running) { running_ = true; }
    ~RunningAdd() { running_ = false; }
    RunningAdd(const RunningAdd&) = delete;
    RunningAdd& operator=(const RunningAdd&) = delete;

  private:
    bool& running_;
};

}  // namespace

const char* const MediaAdder::kDialogTitle = "Select Media Files...";

MediaAdder::MediaAdder(MediaLists& lists, base::FilePickerPort& filePicker,
                       base::PromptPort& prompt, SettingsStore& settings, QWidget* owner)
    : lists_(lists), filePicker_(filePicker), prompt_(prompt), settings_(settings), owner_(owner) {}

int MediaAdder::addVideo() {
    // A video brings its sound along, so it needs room in both lists.
    const AppendOutcome room = listFull(lists_.job().videos)   ? AppendOutcome::VideoListFull
                               : listFull(lists_.job().audios) ? AppendOutcome::AudioListFull
                                                               : AppendOutcome::Appended;
    if (room != AppendOutcome::Appended) {
        prompt_.tell(appendRefusalMessage(room), {}, base::PromptIcon::Warning, owner_);
        return 0;
    }
    const std::optional<QStringList> chosen =
        chooseFiles(kVideoFilter, lastVideoFolder(settings_), base::FileSelection::Several);
    if (!chosen) {
        return 0;
    }
    return addVideoFiles(*chosen, static_cast<int>(lists_.job().videos.size()));
}

int MediaAdder::addVideoFile(const QString& path) {
    return addVideoFiles(QStringList{path}, static_cast<int>(lists_.job().videos.size()));
}

int MediaAdder::addVideoFiles(const QStringList& paths, int atRow) {
    if (running_) {
        return 0;
    }
    const AppendOutcome room = listFull(lists_.job().videos)   ? AppendOutcome::VideoListFull
                               : listFull(lists_.job().audios) ? AppendOutcome::AudioListFull
                                                               : AppendOutcome::Appended;
    if (room != AppendOutcome::Appended) {
        prompt_.tell(appendRefusalMessage(room), {}, base::PromptIcon::Warning, owner_);
        return 0;
    }
    const bool oneFile = paths.size() == 1;
    if (oneFile && !pathFitsTheSystem(paths.front())) {
        prompt_.tell(tooLongMessage(paths.front()), QStringLiteral("Error"), base::PromptIcon::None,
                     owner_);
        return 0;
    }
    const RunningAdd running(running_);
    const std::optional<std::vector<ProbeForAdding>> probes = probeFitting(paths);
    if (!probes) {
        return 0;
    }
    QStringList leftOut;
    std::vector<ProbedFile> probed;
    std::size_t next = 0;
    for (const QString& path : paths) {
        if (!pathFitsTheSystem(path)) {
            leftOut << tooLongEntry(path);
            continue;
        }
        const ProbeForAdding& probe = (*probes)[next++];
        if (!probe.duration) {
            if (oneFile) {
                prompt_.tell(probe.failureText, QStringLiteral("Error"), base::PromptIcon::None,
                             owner_);
                return 0;
            }
            leftOut << QStringLiteral("%1 (%2)").arg(path, probe.failureText);
            continue;
        }
        if (!probe.hasPicture && !keepOddFile(soundOnlyQuestion(path))) {
            continue;
        }
        probed.push_back(ProbedFile{path.toStdString(), *probe.duration});
    }

    const AudioAppendResult added = lists_.insertVideos(probed, atRow);
    if (added.outcome != AppendOutcome::Appended && oneFile) {
        prompt_.tell(appendRefusalMessage(added.outcome), {}, base::PromptIcon::Warning, owner_);
    } else {
        for (std::size_t index = static_cast<std::size_t>(added.appendedCount);
             index < probed.size(); ++index) {
            leftOut << QStringLiteral("%1 (%2)").arg(QString::fromStdString(probed[index].FileName),
                                                     appendRefusalMessage(added.outcome));
        }
    }
    if (added.appendedCount > 0) {
        const ProbedFile& last = probed[static_cast<std::size_t>(added.appendedCount) - 1];
        rememberVideoFolder(settings_, QString::fromStdString(last.FileName));
    }
    tellLeftOut(std::move(leftOut));
    return added.appendedCount;
}

int MediaAdder::addAudio() {
    if (listFull(lists_.job().audios)) {
        prompt_.tell(appendRefusalMessage(AppendOutcome::AudioListFull), {},
                     base::PromptIcon::Warning, owner_);
        return 0;
    }

    const std::optional<QStringList> chosen =
        chooseFiles(kAudioFilter, lastAudioFolder(settings_), base::FileSelection::Several);
    if (!chosen) {
        return 0;
    }
    return addAudioFiles(*chosen);
}

int MediaAdder::addAudioFiles(const QStringList& paths) {
    if (running_) {
        return 0;
    }
    if (listFull(lists_.job().audios)) {
        prompt_.tell(appendRefusalMessage(AppendOutcome::AudioListFull), {},
                     base::PromptIcon::Warning, owner_);
        return 0;
    }
    const RunningAdd running(running_);
    const std::optional<std::vector<ProbeForAdding>> probes = probeFitting(paths);
    if (!probes) {
        return 0;
    }
    // Each file left out, with why, in the order given.
    QStringList leftOut;
    std::vector<ProbedFile> probed;
    std::size_t next = 0;
    for (const QString& path : paths) {
        if (!pathFitsTheSystem(path)) {
            leftOut << tooLongEntry(path);
            continue;
        }
        // An entry without a known length would be placed wrongly on the time line.
        const ProbeForAdding& probe = (*probes)[next++];
        const RefTime duration = probe.duration.value_or(-1);
        if (duration <= 0) {
            leftOut << QStringLiteral(
                           "%1 (its length cannot be learned: it needs a decoder this "
                           "system lacks, or it is corrupt)")
                           .arg(path);
            continue;
        }
        if (!probe.hasSound && !keepOddFile(pictureOnlyQuestion(path))) {
            continue;
        }
        probed.push_back(ProbedFile{path.toStdString(), duration});
    }

    const AudioAppendResult appended = lists_.appendAudio(probed);
    for (std::size_t index = static_cast<std::size_t>(appended.appendedCount);
         index < probed.size(); ++index) {
        leftOut << QStringLiteral("%1 (the audio list already holds %2 files)")
                       .arg(QString::fromStdString(probed[index].FileName))
                       .arg(kMaxListEntries);
    }
    if (appended.appendedCount > 0) {
        const ProbedFile& last = probed[static_cast<std::size_t>(appended.appendedCount) - 1];
        rememberAudioFolder(settings_, QString::fromStdString(last.FileName));
    }
    tellLeftOut(std::move(leftOut));
    return appended.appendedCount;
}

std::optional<std::vector<ProbeForAdding>> MediaAdder::probeFitting(const QStringList& paths) {
    QStringList fitting;
    for (const QString& path : paths) {
        if (pathFitsTheSystem(path)) {
            fitting << path;
        }
    }
    return probeWithProgress(fitting, probe_, owner_, cancelRunning_);
}

void MediaAdder::cancelAdding() {
    if (cancelRunning_) {
        cancelRunning_();
    }
}

bool MediaAdder::keepOddFile(const QString& question) {
    return prompt_.show(base::PromptRequest{question, QStringLiteral("Warning"),
                                            base::PromptIcon::Question, base::PromptButtons::YesNo,
                                            owner_}) == base::PromptAnswer::Yes;
}

void MediaAdder::tellLeftOut(QStringList leftOut) {
    if (leftOut.isEmpty()) {
        return;
    }
    // A box stays readable: the first files are named, the rest counted.
    constexpr qsizetype kNamedAtMost = 20;
    const qsizetype more = leftOut.size() - kNamedAtMost;
    if (more > 0) {
        leftOut = leftOut.mid(0, kNamedAtMost);
        leftOut << QStringLiteral("... and %1 more").arg(more);
    }
    prompt_.tell(QStringLiteral("These files were not added:\n") + leftOut.join('\n'),
                 QStringLiteral("Warning"), base::PromptIcon::Warning, owner_);
}

std::optional<QStringList> MediaAdder::chooseFiles(const base::FileFilter& kindFilter,
                                                   const QString& initialFolder,
                                                   base::FileSelection selection) {
    base::OpenFileRequest request;
    request.title = QString::fromUtf8(kDialogTitle);
    request.filters = {kindFilter, kAnyFilter};
    request.selectedFilter = 1;
    request.initialFolder = initialFolder;
    request.selection = selection;
    request.owner = owner_;
    std::optional<QStringList> chosen = filePicker_.openFiles(request);
    if (!chosen || chosen->isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

}  // namespace mixer
