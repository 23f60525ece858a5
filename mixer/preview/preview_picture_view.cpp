#include "mixer/preview/preview_picture_view.h"

#include <QPainter>

#include <algorithm>

namespace mixer {

PreviewPictureView::PreviewPictureView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 90);
}

void PreviewPictureView::setFrameSize(int width, int height) {
    if (width > 0 && height > 0) {
        frameWidth_ = width;
        frameHeight_ = height;
        updateFittedSize();
    }
}

QSize PreviewPictureView::fittedSize() const {
    return {fittedWidth_.load(), fittedHeight_.load()};
}

void PreviewPictureView::setImage(QImage image) {
    image_ = std::move(image);
    update();
}

void PreviewPictureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateFittedSize();
}

void PreviewPictureView::updateFittedSize() {
    const double frameRatio = static_cast<double>(frameWidth_) / frameHeight_;
    int width = std::max(1, this->width());
    int height = std::max(1, static_cast<int>(width / frameRatio));
    if (height > this->height()) {
        height = std::max(1, this->height());
        width = std::max(1, static_cast<int>(height * frameRatio));
    }
    fittedWidth_ = width;
    fittedHeight_ = height;
}

void PreviewPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (image_.isNull()) {
        return;
    }
    const QSize fitted = fittedSize();
    const QRect target((width() - fitted.width()) / 2, (height() - fitted.height()) / 2,
                       fitted.width(), fitted.height());
    painter.drawImage(target, image_);
}

}  // namespace mixer
