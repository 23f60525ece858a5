#include "mixer/media/project_opening.h"

#include "mixer/media/media_probe.h"

#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <vector>

namespace mixer {

namespace {

// Probes every file of `paths` on up to hardware_concurrency() threads; -1 for a file that is
// missing or cannot be read.
std::vector<RefTime> probeAll(const std::vector<std::string>& paths) {
    std::vector<RefTime> durations(paths.size(), -1);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < paths.size(); i = next++) {
            const QString path = QString::fromStdString(paths[i]);
            if (QFileInfo(path).isFile()) {
                durations[i] = probeForAdding(path).duration.value_or(-1);
            }
        }
    };
    const std::size_t threadCount =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), paths.size());
    std::vector<std::jthread> workers;
    for (std::size_t i = 1; i < threadCount; ++i) {
        workers.emplace_back(work);
    }
    work();
    return durations;
}

template <typename Entry>
void keepProbed(std::vector<Entry>& entries, const std::map<std::string, RefTime>& durations) {
    std::erase_if(entries, [&](Entry& entry) {
        const RefTime duration = durations.at(entry.FileName);
        entry.Duration = duration;
        return duration <= 0;
    });
}

}  // namespace

QStringList probeProjectFiles(ProjectContents& contents) {
    std::vector<std::string> distinct;
    std::map<std::string, RefTime> durations;
    const auto note = [&](const std::string& path) {
        if (durations.emplace(path, -1).second) {
            distinct.push_back(path);
        }
    };
    for (const VideoEntry& entry : contents.videos) {
        note(entry.FileName);
    }
    for (const AudioEntry& entry : contents.audios) {
        note(entry.FileName);
    }
    const std::vector<RefTime> probed = probeAll(distinct);
    QStringList leftOut;
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        durations[distinct[i]] = probed[i];
        if (probed[i] <= 0) {
            leftOut << QString::fromStdString(distinct[i]);
        }
    }
    keepProbed(contents.videos, durations);
    keepProbed(contents.audios, durations);
    return leftOut;
}

}  // namespace mixer
