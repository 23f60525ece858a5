#pragma once

#include "editing/preview/transition_preview.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

class QListWidget;

namespace mixer {

// Shows a transition effect playing in a loop (editing::TransitionPreview): 320 x 180 frames
// drawn at about 30 frames per second, scaled into the widget with their aspect kept. The loop
// runs while the widget is visible. UI thread only.
class TransitionPreviewView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kFrameIntervalMs = 33;

    explicit TransitionPreviewView(QWidget* parent = nullptr);

    // Changes the effect at once (the frame on screen is redrawn before this returns).
    void setEffect(int effectNumber);
    int effect() const { return preview_.effect(); }

    // Replaces the pictures the effect blends (both 320 x 180); false for another size.
    bool setPictures(editing::Picture from, editing::Picture to);
    // True once setPictures() has replaced the neutral pictures the view starts with.
    bool showsGivenPictures() const { return showsGivenPictures_; }

    // The frame on screen.
    const QImage& frame() const { return image_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void drawFrame();

    editing::TransitionPreview preview_;
    QImage image_;
    QTimer timer_;
    QElapsedTimer clock_;
    bool showsGivenPictures_ = false;
};

// Fills `list` with the 47 effect names of the catalogue, in catalogue order (row = effect
// number), and selects `effectNumber` (nothing outside the catalogue).
void fillEffectList(QListWidget& list, int effectNumber);

}  // namespace mixer
