#include "mixer/dialogs/transition_stills_loader.h"

#include <QMetaObject>

#include <memory>

namespace mixer {

TransitionStillsLoader::TransitionStillsLoader(editing::TransitionStillsRequest request,
                                               ReadyHandler ready, QObject* parent)
    : QObject(parent), request_(std::move(request)), ready_(std::move(ready)) {
    request_.cancelled = &cancelled_;
    worker_ = std::thread([this] {
        editing::loadTransitionStills(request_, [this](const editing::TransitionStills& stills,
                                                       editing::StillsAccuracy accuracy) {
            auto copy = std::make_shared<editing::TransitionStills>(stills);
            // Queued to this object: Qt drops the call when the object is gone by then.
            QMetaObject::invokeMethod(
                this, [this, copy, accuracy] { ready_(std::move(*copy), accuracy); },
                Qt::QueuedConnection);
        });
    });
}

TransitionStillsLoader::~TransitionStillsLoader() {
    cancelled_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

}  // namespace mixer
