#include "mixer/project/media_lists.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace mixer {

QString appendRefusalMessage(AppendOutcome outcome) {
    switch (outcome) {
        case AppendOutcome::Appended:
            return {};
        case AppendOutcome::VideoListFull:
            return QStringLiteral(
                       "The video list already holds %1 files. Please delete some files in the "
                       "list.")
                .arg(kMaxListEntries);
        case AppendOutcome::AudioListFull:
            return QStringLiteral(
                       "The audio list already holds %1 files. Please delete some files in the "
                       "list.")
                .arg(kMaxListEntries);
    }
    return {};
}

MediaLists::MediaLists(MixJob& job, RandomNumberSource randomNumbers, QObject* parent)
    : QObject(parent), job_(job), randomNumbers_(std::move(randomNumbers)) {}

AppendOutcome MediaLists::appendVideo(const ProbedFile& video) {
    if (static_cast<int>(job_.videos.size()) >= kMaxListEntries) {
        return AppendOutcome::VideoListFull;
    }
    if (static_cast<int>(job_.audios.size()) >= kMaxListEntries) {
        return AppendOutcome::AudioListFull;
    }
    const int position = static_cast<int>(job_.videos.size());
    const RefTime companionStart =
        std::accumulate(job_.videos.begin(), job_.videos.end(), RefTime{0},
                        [](RefTime sum, const VideoEntry& entry) { return sum + entry.Duration; });

    VideoEntry entry;
    entry.FileName = video.FileName;
    entry.Duration = video.Duration;
    entry.TransitionEffect =
        chooseTransitionEffect(job_.transitionDefaults, position, randomNumbers_);
    entry.TransitionDuration = static_cast<RefTime>(job_.transitionDefaults.TransitionDuration) *
                               editing::kRefTimePerSecond;
    job_.videos.push_back(std::move(entry));
    emit videoListChanged();

    AudioEntry companion;
    companion.FileName = video.FileName;
    companion.Duration = video.Duration;
    companion.StartTime = companionStart;
    job_.audios.push_back(std::move(companion));
    emit audioListChanged();
    return AppendOutcome::Appended;
}

AudioAppendResult MediaLists::appendAudio(const std::vector<ProbedFile>& files) {
    AudioAppendResult result;
    for (const ProbedFile& file : files) {
        if (static_cast<int>(job_.audios.size()) >= kMaxListEntries) {
            result.outcome = AppendOutcome::AudioListFull;
            break;
        }
        AudioEntry entry;
        entry.FileName = file.FileName;
        entry.Duration = file.Duration;
        job_.audios.push_back(std::move(entry));
        ++result.appendedCount;
    }
    if (result.appendedCount > 0) {
        emit audioListChanged();
    }
    return result;
}

void MediaLists::deleteAll() {
    job_.videos.clear();
    job_.audios.clear();
    emit videoListChanged();
    emit audioListChanged();
}

void MediaLists::replaceAll(std::vector<VideoEntry> videos, std::vector<AudioEntry> audios) {
    job_.videos = std::move(videos);
    job_.audios = std::move(audios);
    emit videoListChanged();
    emit audioListChanged();
}

DeleteSelectionOutcome MediaLists::deleteSelectedAudio(std::vector<int> selectedRows) {
    if (job_.audios.empty()) {
        return DeleteSelectionOutcome::ListEmpty;
    }
    const int count = static_cast<int>(job_.audios.size());
    std::erase_if(selectedRows, [count](int row) { return row < 0 || row >= count; });
    std::sort(selectedRows.begin(), selectedRows.end());
    selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
    if (selectedRows.empty()) {
        return DeleteSelectionOutcome::NoSelection;
    }
    // The k-th selected row r (ascending) is found at r - k once the k rows before it are gone.
    int removed = 0;
    for (const int row : selectedRows) {
        job_.audios.erase(job_.audios.begin() + (row - removed));
        ++removed;
    }
    emit audioListChanged();
    return DeleteSelectionOutcome::Deleted;
}

void MediaLists::deleteAllAudio() {
    job_.audios.clear();
    emit audioListChanged();
}

bool MediaLists::replaceAudioEntry(int row, const AudioEntry& entry) {
    if (row < 0 || row >= static_cast<int>(job_.audios.size())) {
        return false;
    }
    job_.audios[static_cast<std::size_t>(row)] = entry;
    emit audioRowChanged(row);
    return true;
}

void MediaLists::setVideoTransitions(const std::vector<int>& rows, int transitionEffect,
                                     RefTime transitionDuration) {
    bool changed = false;
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(job_.videos.size())) {
            continue;
        }
        VideoEntry& entry = job_.videos[static_cast<std::size_t>(row)];
        entry.TransitionEffect = transitionEffect;
        entry.TransitionDuration = transitionDuration;
        changed = true;
    }
    if (changed) {
        emit videoListChanged();
    }
}

}  // namespace mixer
