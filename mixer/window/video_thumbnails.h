#pragma once

#include "mixer/project/mix_job.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class QTreeWidget;

namespace mixer {

// The small picture in the first cell of each video row: the clip's frame at its in point,
// upright and fitted with its aspect ratio kept. Pictures are decoded on a worker thread of
// their own, one clip at a time, and kept per file and in point for the window's life, so a
// refilled list (an undo, a reorder) shows them at once. A row whose picture is not decoded
// yet shows a grey stand-in of the same size; a file that cannot be read keeps it.
//
// Threading: created, used and destroyed on the window thread. The destructor drops the
// queued decodes and waits for the one running.
class VideoThumbnails : public QObject {
    Q_OBJECT
  public:
    // Logical pixels; 16:9, the shape of most clips, and about a line of text high, so the
    // lists keep showing as many rows as their template gives them room for.
    static constexpr QSize kSize{32, 18};

    // `videos` is the list `view` shows row for row; both outlive this object, which the
    // caller parents (to the view, say).
    VideoThumbnails(QTreeWidget& view, const std::vector<VideoEntry>& videos,
                    QObject* parent = nullptr);
    ~VideoThumbnails() override;

    // Puts the known pictures into the rows and queues the missing ones. Call after the view
    // was refilled from `videos`.
    void showInRows();

    // The decoded picture of a file at an in point, once it is ready.
    std::optional<QImage> picture(const std::string& fileName, RefTime inPointRefTime) const;

  signals:
    // A picture was decoded and put into the rows that show it.
    void pictureReady();

  private:
    using Key = QString;
    static Key keyOf(const std::string& fileName, RefTime inPointRefTime);
    void queueDecode(const std::string& fileName, RefTime inPointRefTime);
    void takeDecoded(const Key& key, const QImage& image);

    QTreeWidget& view_;
    const std::vector<VideoEntry>& videos_;
    QHash<Key, QImage> pictures_;  // a null image: the file could not be read
    QSet<Key> queued_;
    std::atomic<bool> closing_{false};
    QThreadPool worker_;
};

}  // namespace mixer
