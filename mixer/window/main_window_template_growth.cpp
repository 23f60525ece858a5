#include "mixer/window/main_window_template_growth.h"

#include "mixer/project/settings_store.h"

#include <QEvent>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace mixer {

namespace {

constexpr IntegerSetting kWindowWidth{"Window", "Width", 0};
constexpr IntegerSetting kWindowHeight{"Window", "Height", 0};
constexpr int kVideoShareOfHeightPercent = 60;

class GrowthFilter : public QObject {
  public:
    GrowthFilter(QWidget& window, QTreeWidget& videoList, QTreeWidget& audioList,
                 SettingsStore& store)
        : QObject(&window),
          window_(window),
          videoList_(videoList),
          audioList_(audioList),
          store_(store),
          baseSize_(window.size()),
          videoBase_(videoList.geometry()),
          audioBase_(audioList.geometry()),
          videoNameWidth_(videoList.columnWidth(0)),
          audioNameWidth_(audioList.columnWidth(0)) {
        for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            places_.push_back({child, child->geometry()});
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Resize) {
            relayOut();
            // Only a size the user chose is written: the profile is never pre-filled.
            const QSize remembered =
                QSize(store_.read(kWindowWidth), store_.read(kWindowHeight)).expandedTo(baseSize_);
            if (!window_.isMaximized() && !window_.isFullScreen() && window_.size() != remembered) {
                store_.write(kWindowWidth, window_.width());
                store_.write(kWindowHeight, window_.height());
            }
        }
        return QObject::eventFilter(watched, event);
    }

    QSize baseSize() const { return baseSize_; }

  private:
    struct Place {
        QWidget* widget;
        QRect base;
    };

    void relayOut() {
        const int extraWidth = std::max(0, window_.width() - baseSize_.width());
        const int extraHeight = std::max(0, window_.height() - baseSize_.height());
        const int videoExtra = extraHeight * kVideoShareOfHeightPercent / 100;
        for (const Place& place : places_) {
            QRect rect = place.base;
            if (place.widget == &videoList_) {
                rect.setSize(rect.size() + QSize(extraWidth, videoExtra));
            } else if (place.widget == &audioList_) {
                rect.translate(0, videoExtra);
                rect.setSize(rect.size() + QSize(extraWidth, extraHeight - videoExtra));
            } else {
                if (rect.top() >= audioBase_.bottom()) {
                    rect.translate(0, extraHeight);
                } else if (rect.top() >= videoBase_.bottom()) {
                    rect.translate(0, videoExtra);
                }
                if (rect.left() >= videoBase_.right() && rect.top() >= videoBase_.top() &&
                    rect.top() < audioBase_.bottom()) {
                    rect.translate(extraWidth, 0);
                }
            }
            place.widget->setGeometry(rect);
        }
        videoList_.setColumnWidth(0, videoNameWidth_ + extraWidth);
        audioList_.setColumnWidth(0, audioNameWidth_ + extraWidth);
    }

    QWidget& window_;
    QTreeWidget& videoList_;
    QTreeWidget& audioList_;
    SettingsStore& store_;
    QSize baseSize_;
    QRect videoBase_;
    QRect audioBase_;
    int videoNameWidth_;
    int audioNameWidth_;
    std::vector<Place> places_;
};

}  // namespace

void letWindowGrow(QWidget& window, QTreeWidget& videoList, QTreeWidget& audioList,
                   SettingsStore& store) {
    auto* growth = new GrowthFilter(window, videoList, audioList, store);
    const QSize base = growth->baseSize();
    window.setMinimumSize(base);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window.setWindowFlags(window.windowFlags() | Qt::WindowMaximizeButtonHint);
    window.installEventFilter(growth);
    const QSize stored(store.read(kWindowWidth), store.read(kWindowHeight));
    window.resize(stored.expandedTo(base));
}

}  // namespace mixer
