#pragma once

#include <QProxyStyle>

namespace mixer {

// The style of the preview's position slider: the widget style in every respect but one, a
// left click on the groove puts the handle where it was clicked (and starts a drag there)
// instead of paging towards it, so a click seeks to exactly that place. Set on the slider only;
// parent it to the slider so it lives as long as the slider.
class SeekSliderStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace mixer
