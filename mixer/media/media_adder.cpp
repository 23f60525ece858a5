#include "mixer/media/media_adder.h"

#include "mixer/media/media_folder.h"
#include "mixer/media/media_probe.h"
#include "mixer/project/profile_loading.h"

namespace mixer {

namespace {

// Patterns are used exactly as stored, blanks after some semicolons included. Filter 1 of each
// dialog adds, to its shown text and its pattern, what FFmpeg decodes and phones, cameras and
// downloads bring today; the file picker matches every pattern regardless of case.
const widgets::FileFilter kVideoFilter{
    QStringLiteral("Video Files "
                   "(*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.vob;*.dat;*.mp4;*.divx;*.div;*.ogm;*.qt;*."
                   "mov;*.rm;*.rmvb;*.m4v;*.mkv;*.webm;*.mts;*.m2ts;*.3gp)"),
    QStringLiteral("*.avi;*.wmv;*.asf;*.vob; *.qt; *.mov; *.mpg; *.mpeg; *.dat; *.mp4; *.divx; "
                   "*.div; *.ogm;*.rm;*.rmvb;*.m4v;*.mkv;*.webm;*.mts;*.m2ts;*.3gp")};
const widgets::FileFilter kAudioFilter{
    QStringLiteral("Audio files "
                   "(*.mp3;*.wma;*.wav;*.ac3;*.ogg;*.mpa;*.mp2;*.au;*.aif;*.aiff;*.snd;*.ra;*."
                   "flac;*.opus;*.m4a;*.aac)"),
    QStringLiteral("*.mp3; *.wma; *.wav; *.ac3; *.ogg; *.mpa; *.mp2; *.au; *.aif; *.aiff; *.snd; "
                   "*.ra;*.flac;*.opus;*.m4a;*.aac")};
const widgets::FileFilter kAnyFilter{QStringLiteral("Any Files (*.*)"), QStringLiteral("*.*;")};

QString tooLongMessage(const QString& path) {
    return QStringLiteral(
               "The path of this file is longer than the system allows (%1 bytes), so "
               "it cannot be added:\n%2")
        .arg(kMaxPathBytes - 1)
        .arg(path.left(200) + QStringLiteral("..."));
}

template <typename Entry>
bool listFull(const std::vector<Entry>& list) {
    return static_cast<int>(list.size()) >= kMaxListEntries;
}

}  // namespace

const char* const MediaAdder::kDialogTitle = "Select Media Files...";

MediaAdder::MediaAdder(MediaLists& lists, widgets::FilePickerPort& filePicker,
                       widgets::PromptPort& prompt, SettingsStore& settings, QWidget* owner)
    : lists_(lists), filePicker_(filePicker), prompt_(prompt), settings_(settings), owner_(owner) {}

int MediaAdder::addVideo() {
    // A video brings its sound along, so it needs room in both lists.
    const AppendOutcome room = listFull(lists_.job().videos)   ? AppendOutcome::VideoListFull
                               : listFull(lists_.job().audios) ? AppendOutcome::AudioListFull
                                                               : AppendOutcome::Appended;
    if (room != AppendOutcome::Appended) {
        prompt_.tell(appendRefusalMessage(room), {}, widgets::PromptIcon::Warning, owner_);
        return 0;
    }

    const std::optional<QStringList> chosen =
        chooseFiles(kVideoFilter, lastVideoFolder(settings_), widgets::FileSelection::One);
    if (!chosen) {
        return 0;
    }
    return addVideoFile(chosen->front());
}

int MediaAdder::addVideoFile(const QString& path) {
    if (!pathFitsTheSystem(path)) {
        prompt_.tell(tooLongMessage(path), QStringLiteral("Error"), widgets::PromptIcon::None,
                     owner_);
        return 0;
    }

    const std::optional<RefTime> duration = probeDurationReporting(path, prompt_, owner_);
    if (!duration) {
        prompt_.tell(QStringLiteral("Can not get the duration of the clip!"),
                     QStringLiteral("Error"), widgets::PromptIcon::None, owner_);
        return 0;
    }
    const AppendOutcome outcome = lists_.appendVideo(ProbedFile{path.toStdString(), *duration});
    if (outcome != AppendOutcome::Appended) {
        prompt_.tell(appendRefusalMessage(outcome), {}, widgets::PromptIcon::Warning, owner_);
        return 0;
    }
    rememberVideoFolder(settings_, path);
    return 1;
}

int MediaAdder::addAudio() {
    if (listFull(lists_.job().audios)) {
        prompt_.tell(appendRefusalMessage(AppendOutcome::AudioListFull), {},
                     widgets::PromptIcon::Warning, owner_);
        return 0;
    }

    const std::optional<QStringList> chosen =
        chooseFiles(kAudioFilter, lastAudioFolder(settings_), widgets::FileSelection::Several);
    if (!chosen) {
        return 0;
    }
    return addAudioFiles(*chosen);
}

int MediaAdder::addAudioFiles(const QStringList& chosenFiles) {
    const QStringList* chosen = &chosenFiles;
    // Each file left out, with why, in the order chosen.
    QStringList leftOut;
    std::vector<ProbedFile> probed;
    for (qsizetype position = 0; position < chosen->size(); ++position) {
        const QString& path = chosen->at(position);
        if (!pathFitsTheSystem(path)) {
            leftOut << QStringLiteral("%1 (the path is longer than the system allows)")
                           .arg(path.left(200) + QStringLiteral("..."));
            continue;
        }
        // An entry without a known length would be placed wrongly on the time line.
        const RefTime duration = probeDurationSilently(path);
        if (duration <= 0) {
            leftOut << QStringLiteral(
                           "%1 (its length cannot be learned: it needs a decoder this "
                           "system lacks, or it is corrupt)")
                           .arg(path);
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
    if (!leftOut.isEmpty()) {
        // A box stays readable: the first files are named, the rest counted.
        constexpr qsizetype kNamedAtMost = 20;
        const qsizetype more = leftOut.size() - kNamedAtMost;
        if (more > 0) {
            leftOut = leftOut.mid(0, kNamedAtMost);
            leftOut << QStringLiteral("... and %1 more").arg(more);
        }
        prompt_.tell(QStringLiteral("These files were not added:\n") + leftOut.join('\n'),
                     QStringLiteral("Warning"), widgets::PromptIcon::Warning, owner_);
    }
    return appended.appendedCount;
}

std::optional<QStringList> MediaAdder::chooseFiles(const widgets::FileFilter& kindFilter,
                                                   const QString& initialFolder,
                                                   widgets::FileSelection selection) {
    widgets::OpenFileRequest request;
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
