#include "mixer/preview/preview_window.h"

#include "base/text/elapsed_time.h"
#include "mixer/preview/preview_picture_view.h"
#include "mixer/preview/seek_slider_style.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace mixer {

namespace {

QString timeText(editing::RefTime time) {
    return base::formatElapsedTime(static_cast<int>(time / editing::kRefTimePerSecond));
}

}  // namespace

PreviewWindow::PreviewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QString::fromUtf8(kPreviewWindowTitle));
    setAttribute(Qt::WA_DeleteOnClose, false);
    pictureView_ = new PreviewPictureView(this);
    noticeLabel_ = new QLabel(this);
    noticeLabel_->setWordWrap(true);
    noticeLabel_->hide();
    playButton_ = new QPushButton(QString::fromUtf8(kPreviewPlayCaption), this);
    stepBackButton_ = new QPushButton(QStringLiteral("<"), this);
    stepBackButton_->setToolTip(QStringLiteral("One frame back"));
    stepBackButton_->setAccessibleName(stepBackButton_->toolTip());
    stepForwardButton_ = new QPushButton(QStringLiteral(">"), this);
    stepForwardButton_->setToolTip(QStringLiteral("One frame forward"));
    stepForwardButton_->setAccessibleName(stepForwardButton_->toolTip());
    for (QPushButton* step : {stepBackButton_, stepForwardButton_}) {
        step->setMaximumWidth(step->fontMetrics().height() * 3);
    }
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(0, 0);
    slider_->setAccessibleName(QStringLiteral("Position"));
    auto* sliderStyle = new SeekSliderStyle;
    sliderStyle->setParent(slider_);  // the slider owns its style
    slider_->setStyle(sliderStyle);
    timeLabel_ = new QLabel(this);
    for (QWidget* control : std::initializer_list<QWidget*>{playButton_, stepBackButton_,
                                                            stepForwardButton_, slider_}) {
        control->setFocusPolicy(Qt::NoFocus);  // the keys belong to the window
    }

    auto* controls = new QHBoxLayout;
    controls->addWidget(playButton_);
    controls->addWidget(stepBackButton_);
    controls->addWidget(stepForwardButton_);
    controls->addWidget(slider_, 1);
    controls->addWidget(timeLabel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pictureView_, 1);
    layout->addWidget(noticeLabel_);
    layout->addLayout(controls);
    resize(640, 420);

    connect(playButton_, &QPushButton::clicked, this, &PreviewWindow::playPauseRequested);
    connect(stepBackButton_, &QPushButton::clicked, this, [this] { emit stepRequested(-1); });
    connect(stepForwardButton_, &QPushButton::clicked, this, [this] { emit stepRequested(1); });
    connect(slider_, &QSlider::sliderPressed, this, &PreviewWindow::dragStarted);
    connect(slider_, &QSlider::sliderMoved, this, [this](int frame) {
        showPosition(frame);
        emit seekRequested(timeOfFrame(frame), editing::PreviewPlayer::SeekMode::KeyFrameFirst);
    });
    connect(slider_, &QSlider::sliderReleased, this, [this] {
        emit seekRequested(timeOfFrame(slider_->value()), editing::PreviewPlayer::SeekMode::Exact);
        emit dragEnded();
    });
    // A click on the groove is a drag that starts and ends where it was clicked (the slider's
    // style); a wheel turn or a key moves the slider without a drag.
    connect(slider_, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove) {
            const int frame = slider_->sliderPosition();
            showPosition(frame);
            emit seekRequested(timeOfFrame(frame), editing::PreviewPlayer::SeekMode::Exact);
        }
    });
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::setTimeline(int frameWidth, int frameHeight, double framesPerSecond,
                                std::int64_t frameCount, editing::RefTime durationRefTime) {
    pictureView_->setFrameSize(frameWidth, frameHeight);
    framesPerSecond_ = framesPerSecond;
    durationRefTime_ = durationRefTime;
    slider_->setRange(0, static_cast<int>(std::max<std::int64_t>(0, frameCount - 1)));
    slider_->setPageStep(std::max(1, static_cast<int>(framesPerSecond * 10)));
    showPosition(slider_->value());
}

void PreviewWindow::setPlaying(bool playing) {
    playButton_->setText(QString::fromUtf8(playing ? kPreviewPauseCaption : kPreviewPlayCaption));
    stepBackButton_->setEnabled(!playing);
    stepForwardButton_->setEnabled(!playing);
}

void PreviewWindow::setNotice(const QString& text) {
    noticeLabel_->setText(text);
    noticeLabel_->setVisible(!text.isEmpty());
}

editing::RefTime PreviewWindow::timeOfFrame(int frameIndex) const {
    return framesPerSecond_ > 0.0 ? editing::frameStartRefTime(frameIndex, framesPerSecond_) : 0;
}

void PreviewWindow::showPosition(std::int64_t frameIndex) {
    timeLabel_->setText(timeText(timeOfFrame(static_cast<int>(frameIndex))) +
                        QStringLiteral(" / ") + timeText(durationRefTime_));
}

void PreviewWindow::takeFrame(const editing::PreviewFrame& frame, const editing::Picture& picture) {
    const QSize size = pictureView_->fittedSize();
    QImage image(std::max(1, size.width()), std::max(1, size.height()), QImage::Format_RGB32);
    {
        editing::MutexLock lock(conversionMutex_);
        if (!converter_.convert(picture, image.bits(), static_cast<int>(image.bytesPerLine()),
                                image.width(), image.height())) {
            return;
        }
    }
    editing::MutexLock lock(pendingMutex_);
    pendingImage_ = std::move(image);
    pendingFrame_ = frame;
    if (!showPosted_) {
        showPosted_ = true;
        QMetaObject::invokeMethod(this, &PreviewWindow::showPending, Qt::QueuedConnection);
    }
}

void PreviewWindow::showPending() {
    QImage image;
    editing::PreviewFrame frame;
    {
        editing::MutexLock lock(pendingMutex_);
        image = std::move(pendingImage_);
        frame = pendingFrame_;
        showPosted_ = false;
    }
    shownFrame_ = frame;
    pictureView_->setImage(std::move(image));
    if (!slider_->isSliderDown()) {
        const QSignalBlocker blocker(slider_);
        slider_->setValue(static_cast<int>(frame.frameIndex));
        showPosition(frame.frameIndex);
    }
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            emit playPauseRequested();
            return;
        case Qt::Key_Left:
            emit stepRequested(-1);
            return;
        case Qt::Key_Right:
            emit stepRequested(1);
            return;
        case Qt::Key_Escape:
            close();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace mixer
