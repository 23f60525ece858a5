#include "mixer/preview/seek_slider_style.h"

namespace mixer {

int SeekSliderStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                               QStyleHintReturn* returnData) const {
    if (hint == QStyle::SH_Slider_AbsoluteSetButtons) {
        return Qt::LeftButton;
    }
    if (hint == QStyle::SH_Slider_PageSetButtons) {
        return Qt::NoButton;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace mixer
