#include "mixer/dialogs/transition_stills_loader.h"

#include <QMetaObject>

#include <memory>

namespace mixer {

TransitionStillsLoader::TransitionStillsLoader(editing::TransitionStillsRequest request,
                                               ReadyHandler ready, QObject* parent)
    : QObject(parent), request_(std::move(request)), ready_(std::move(ready)) {
    worker_ = std::thread([this] {
        auto stills =
            std::make_shared<editing::TransitionStills>(editing::loadTransitionStills(request_));
        // Queued to this object: Qt drops the call when the object is gone by then.
        QMetaObject::invokeMethod(
            this, [this, stills] { ready_(std::move(*stills)); }, Qt::QueuedConnection);
    });
}

TransitionStillsLoader::~TransitionStillsLoader() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

}  // namespace mixer
