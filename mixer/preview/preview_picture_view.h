#pragma once

#include <QImage>
#include <QWidget>

#include <atomic>

namespace mixer {

// Shows the preview's picture fitted into the widget at the output's aspect, black around it.
// The picture arrives already scaled to fittedSize(), so painting only copies it.
class PreviewPictureView : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewPictureView(QWidget* parent = nullptr);

    // The output frame size whose aspect the picture keeps.
    void setFrameSize(int width, int height);
    // The size a picture should have to fill the view at the output's aspect. Any thread.
    QSize fittedSize() const;

    void setImage(QImage image);
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void updateFittedSize();

    QImage image_;
    int frameWidth_ = 4;
    int frameHeight_ = 3;
    std::atomic<int> fittedWidth_{0};
    std::atomic<int> fittedHeight_{0};
};

}  // namespace mixer
