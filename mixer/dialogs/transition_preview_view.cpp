#include "mixer/dialogs/transition_preview_view.h"

#include "editing/transitions/transition_catalog.h"

#include <QListWidget>
#include <QPainter>

namespace mixer {

TransitionPreviewView::TransitionPreviewView(QWidget* parent)
    : QWidget(parent),
      image_(editing::TransitionPreview::kWidth, editing::TransitionPreview::kHeight,
             QImage::Format_RGB32) {
    setMinimumSize(160, 90);
    timer_.setInterval(kFrameIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        drawFrame();
        update();
    });
    clock_.start();
    drawFrame();
}

void TransitionPreviewView::setEffect(int effectNumber) {
    preview_.setEffect(effectNumber);
    // The loop starts again, so the new effect is seen from its beginning.
    clock_.restart();
    drawFrame();
    repaint();
}

bool TransitionPreviewView::setPictures(editing::Picture from, editing::Picture to) {
    if (!preview_.setPictures(std::move(from), std::move(to))) {
        return false;
    }
    showsGivenPictures_ = true;
    drawFrame();
    update();
    return true;
}

QSize TransitionPreviewView::sizeHint() const {
    return {editing::TransitionPreview::kWidth, editing::TransitionPreview::kHeight};
}

void TransitionPreviewView::drawFrame() {
    const editing::RefTime loopTime = clock_.elapsed() * 10'000;  // ms to 100-ns units
    const editing::Picture& frame = preview_.frameAt(loopTime);
    auto* pixels = reinterpret_cast<std::uint32_t*>(image_.bits());
    const int pixelsPerRow = static_cast<int>(image_.bytesPerLine() / 4);
    editing::convertToRgb32(
        frame.view(),
        std::span<std::uint32_t>(pixels, static_cast<std::size_t>(pixelsPerRow) * image_.height()),
        pixelsPerRow);
}

void TransitionPreviewView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QSize shown = image_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2),
                       shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image_);
}

void TransitionPreviewView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    timer_.start();
}

void TransitionPreviewView::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}

void fillEffectList(QListWidget& list, int effectNumber) {
    list.clear();
    for (const editing::TransitionEffectEntry& row : editing::TransitionEffectTable) {
        list.addItem(QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())));
    }
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    if (effectNumber >= 0 && effectNumber < list.count()) {
        list.setCurrentRow(effectNumber);
    }
}

}  // namespace mixer
