#include "mixer/project/media_lists.h"

#include "mixer/project/media_lists_companions.h"

#include <algorithm>
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
    : QObject(parent), job_(job), randomNumbers_(std::move(randomNumbers)) {
    // Each step keeps two copies of the lists; a hundred steps of two full lists stay a few
    // tens of megabytes.
    undoStack_.setUndoLimit(kUndoStepLimit);
}

AppendOutcome MediaLists::appendVideo(const ProbedFile& video) {
    return insertVideos({video}, static_cast<int>(job_.videos.size())).outcome;
}

AudioAppendResult MediaLists::insertVideos(const std::vector<ProbedFile>& videos, int atRow) {
    AudioAppendResult result;
    if (atRow < 0 || atRow > static_cast<int>(job_.videos.size())) {
        atRow = static_cast<int>(job_.videos.size());
    }
    ListsSnapshot before = snapshot();
    std::vector<int> companions = followingCompanions(job_.videos, job_.audios);
    for (const ProbedFile& video : videos) {
        if (static_cast<int>(job_.videos.size()) >= kMaxListEntries) {
            result.outcome = AppendOutcome::VideoListFull;
            break;
        }
        if (static_cast<int>(job_.audios.size()) >= kMaxListEntries) {
            result.outcome = AppendOutcome::AudioListFull;
            break;
        }
        const int row = atRow + result.appendedCount;
        VideoEntry entry;
        entry.FileName = video.FileName;
        entry.Duration = video.Duration;
        entry.TransitionEffect =
            chooseTransitionEffect(job_.transitionDefaults, row, randomNumbers_);
        entry.TransitionDuration =
            static_cast<RefTime>(job_.transitionDefaults.TransitionDuration) *
            editing::kRefTimePerSecond;
        job_.videos.insert(job_.videos.begin() + row, std::move(entry));
        AudioEntry companion;
        companion.FileName = video.FileName;
        companion.Duration = video.Duration;
        job_.audios.push_back(std::move(companion));
        companions.insert(companions.begin() + row, static_cast<int>(job_.audios.size()) - 1);
        ++result.appendedCount;
    }
    if (result.appendedCount > 0) {
        placeCompanions(job_.videos, companions, job_.audios);
        emit videoListChanged();
        emit audioListChanged();
        recordChange(QStringLiteral("Add video"), std::move(before));
    }
    return result;
}

AudioAppendResult MediaLists::appendAudio(const std::vector<ProbedFile>& files) {
    AudioAppendResult result;
    ListsSnapshot before = snapshot();
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
        recordChange(QStringLiteral("Add audio"), std::move(before));
    }
    return result;
}

void MediaLists::deleteAll() {
    if (job_.videos.empty() && job_.audios.empty()) {
        return;
    }
    ListsSnapshot before = snapshot();
    job_.videos.clear();
    job_.audios.clear();
    emit videoListChanged();
    emit audioListChanged();
    recordChange(QStringLiteral("Delete all"), std::move(before));
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
    ListsSnapshot before = snapshot();
    // The k-th selected row r (ascending) is found at r - k once the k rows before it are gone.
    int removed = 0;
    for (const int row : selectedRows) {
        job_.audios.erase(job_.audios.begin() + (row - removed));
        ++removed;
    }
    emit audioListChanged();
    recordChange(QStringLiteral("Delete audio"), std::move(before));
    return DeleteSelectionOutcome::Deleted;
}

void MediaLists::deleteAllAudio() {
    if (job_.audios.empty()) {
        return;
    }
    ListsSnapshot before = snapshot();
    job_.audios.clear();
    emit audioListChanged();
    recordChange(QStringLiteral("Delete all audio"), std::move(before));
}

bool MediaLists::replaceAudioEntry(int row, const AudioEntry& entry) {
    if (row < 0 || row >= static_cast<int>(job_.audios.size())) {
        return false;
    }
    ListsSnapshot before = snapshot();
    job_.audios[static_cast<std::size_t>(row)] = entry;
    emit audioRowChanged(row);
    recordChange(QStringLiteral("Audio settings"), std::move(before));
    return true;
}

void MediaLists::setVideoTransitions(const std::vector<int>& rows, int transitionEffect,
                                     RefTime transitionDuration) {
    bool changed = false;
    ListsSnapshot before = snapshot();
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
        recordChange(QStringLiteral("Transition"), std::move(before));
    }
}

void MediaLists::replaceFileName(const std::string& missing, const std::string& located) {
    const auto rename = [&](auto& entries) {
        bool changed = false;
        for (auto& entry : entries) {
            if (entry.FileName == missing) {
                entry.FileName = located;
                changed = true;
            }
        }
        return changed;
    };
    if (rename(job_.videos)) {
        emit videoListChanged();
    }
    if (rename(job_.audios)) {
        emit audioListChanged();
    }
}

namespace {
std::vector<int> validRows(std::vector<int> rows, std::size_t count) {
    std::erase_if(rows, [count](int row) { return row < 0 || row >= static_cast<int>(count); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}
}  // namespace

int MediaLists::removeVideos(std::vector<int> rows) {
    rows = validRows(std::move(rows), job_.videos.size());
    if (rows.empty()) {
        return 0;
    }
    ListsSnapshot before = snapshot();
    const std::vector<int> companions = followingCompanions(job_.videos, job_.audios);
    std::vector<bool> removeVideo(job_.videos.size(), false);
    std::vector<bool> removeAudio(job_.audios.size(), false);
    for (const int row : rows) {
        removeVideo[static_cast<std::size_t>(row)] = true;
        if (const int companion = companions[static_cast<std::size_t>(row)]; companion >= 0) {
            removeAudio[static_cast<std::size_t>(companion)] = true;
        }
    }
    // The kept clips' companions, as audio rows counted after the removal.
    std::vector<int> audioRowAfter(job_.audios.size(), -1);
    for (int audio = 0, kept = 0; audio < static_cast<int>(job_.audios.size()); ++audio) {
        if (!removeAudio[static_cast<std::size_t>(audio)]) {
            audioRowAfter[static_cast<std::size_t>(audio)] = kept++;
        }
    }
    std::vector<VideoEntry> keptVideos;
    std::vector<int> keptCompanions;
    for (std::size_t row = 0; row < job_.videos.size(); ++row) {
        if (!removeVideo[row]) {
            keptVideos.push_back(std::move(job_.videos[row]));
            const int companion = companions[row];
            keptCompanions.push_back(
                companion >= 0 ? audioRowAfter[static_cast<std::size_t>(companion)] : -1);
        }
    }
    std::vector<AudioEntry> keptAudios;
    for (std::size_t audio = 0; audio < job_.audios.size(); ++audio) {
        if (!removeAudio[audio]) {
            keptAudios.push_back(std::move(job_.audios[audio]));
        }
    }
    placeCompanions(keptVideos, keptCompanions, keptAudios);
    job_.videos = std::move(keptVideos);
    job_.audios = std::move(keptAudios);
    emit videoListChanged();
    emit audioListChanged();
    recordChange(QStringLiteral("Remove video"), std::move(before));
    return static_cast<int>(rows.size());
}

std::vector<int> MediaLists::moveVideosTo(std::vector<int> rows, int beforeRow) {
    rows = validRows(std::move(rows), job_.videos.size());
    const int count = static_cast<int>(job_.videos.size());
    beforeRow = std::clamp(beforeRow, 0, count);
    if (rows.empty()) {
        return rows;
    }
    const std::vector<int> companions = followingCompanions(job_.videos, job_.audios);
    std::vector<int> order;  // old rows in their new order
    std::vector<bool> moving(job_.videos.size(), false);
    for (const int row : rows) {
        moving[static_cast<std::size_t>(row)] = true;
    }
    for (int row = 0; row <= count; ++row) {
        if (row == beforeRow) {
            order.insert(order.end(), rows.begin(), rows.end());
        }
        if (row < count && !moving[static_cast<std::size_t>(row)]) {
            order.push_back(row);
        }
    }
    std::vector<int> newRows;
    for (int position = 0; position < count; ++position) {
        if (moving[static_cast<std::size_t>(order[static_cast<std::size_t>(position)])]) {
            newRows.push_back(position);
        }
    }
    if (newRows == rows) {
        return rows;
    }
    ListsSnapshot before = snapshot();
    std::vector<VideoEntry> videos;
    std::vector<int> movedCompanions;
    for (const int row : order) {
        videos.push_back(job_.videos[static_cast<std::size_t>(row)]);
        movedCompanions.push_back(companions[static_cast<std::size_t>(row)]);
    }
    job_.videos = std::move(videos);
    placeCompanions(job_.videos, movedCompanions, job_.audios);
    emit videoListChanged();
    emit audioListChanged();
    recordChange(QStringLiteral("Move video"), std::move(before));
    return newRows;
}

std::vector<int> MediaLists::moveVideos(std::vector<int> rows, MoveDirection direction) {
    rows = validRows(std::move(rows), job_.videos.size());
    const int count = static_cast<int>(job_.videos.size());
    if (rows.empty() || (direction == MoveDirection::Up && rows.front() == 0) ||
        (direction == MoveDirection::Down && rows.back() == count - 1)) {
        return rows;
    }
    ListsSnapshot before = snapshot();
    std::vector<int> companions = followingCompanions(job_.videos, job_.audios);
    const int step = direction == MoveDirection::Up ? -1 : 1;
    // Moving up, the first selected row goes first so each swaps with an unselected or an
    // already moved row; moving down, the last goes first.
    std::vector<int> order = rows;
    if (direction == MoveDirection::Down) {
        std::reverse(order.begin(), order.end());
    }
    for (int& row : order) {
        const auto from = static_cast<std::size_t>(row);
        const auto to = static_cast<std::size_t>(row + step);
        std::swap(job_.videos[from], job_.videos[to]);
        std::swap(companions[from], companions[to]);
        row += step;
    }
    placeCompanions(job_.videos, companions, job_.audios);
    emit videoListChanged();
    emit audioListChanged();
    recordChange(QStringLiteral("Move video"), std::move(before));
    for (int& row : rows) {
        row += step;
    }
    return rows;
}

namespace {

// The stored form of a span of a file `duration` long: OutPoint 0 when it runs to the end.
// False when the span is not a non-empty part of the file.
template <typename Entry>
bool storeSpan(Entry& entry, RefTime in, RefTime out) {
    const RefTime end = out > 0 ? out : entry.Duration;
    if (in < 0 || end <= in || end > entry.Duration) {
        return false;
    }
    entry.InPoint = in;
    entry.OutPoint = end == entry.Duration ? 0 : end;
    return true;
}

}  // namespace

bool MediaLists::trimVideo(int row, RefTime in, RefTime out) {
    if (row < 0 || row >= static_cast<int>(job_.videos.size())) {
        return false;
    }
    VideoEntry trimmed = job_.videos[static_cast<std::size_t>(row)];
    if (!storeSpan(trimmed, in, out)) {
        return false;
    }
    ListsSnapshot before = snapshot();
    const std::vector<int> companions = followingCompanions(job_.videos, job_.audios);
    job_.videos[static_cast<std::size_t>(row)] = trimmed;
    if (const int companion = companions[static_cast<std::size_t>(row)]; companion >= 0) {
        AudioEntry& sound = job_.audios[static_cast<std::size_t>(companion)];
        sound.InPoint = trimmed.InPoint;
        // The companion keeps to its clip's span even when its own probed length differs.
        sound.OutPoint = playedEndRefTime(trimmed);
        if (sound.OutPoint == sound.Duration) {
            sound.OutPoint = 0;
        }
    }
    placeCompanions(job_.videos, companions, job_.audios);
    emit videoListChanged();
    emit audioListChanged();
    recordChange(QStringLiteral("Trim video"), std::move(before));
    return true;
}

bool MediaLists::trimAudio(int row, RefTime in, RefTime out) {
    if (row < 0 || row >= static_cast<int>(job_.audios.size())) {
        return false;
    }
    AudioEntry trimmed = job_.audios[static_cast<std::size_t>(row)];
    if (!storeSpan(trimmed, in, out)) {
        return false;
    }
    ListsSnapshot before = snapshot();
    job_.audios[static_cast<std::size_t>(row)] = trimmed;
    emit audioListChanged();
    recordChange(QStringLiteral("Trim audio"), std::move(before));
    return true;
}

ListsSnapshot MediaLists::snapshot() const {
    return {job_.videos, job_.audios};
}

void MediaLists::restore(const ListsSnapshot& lists) {
    job_.videos = lists.videos;
    job_.audios = lists.audios;
    emit videoListChanged();
    emit audioListChanged();
}

void MediaLists::recordChange(const QString& text, ListsSnapshot before) {
    undoStack_.push(new ListsEditCommand(text, std::move(before), snapshot(),
                                         [this](const ListsSnapshot& lists) { restore(lists); }));
}

}  // namespace mixer
