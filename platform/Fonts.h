#pragma once
// The forms' fonts. The forms were designed for the proportional and the
// fixed-pitch Japanese system gothic of 12 pixels; where those are not
// installed the IPA gothics take their place, which have the same metrics.
#include <QFont>

namespace platform {

// The proportional form font ("ＭＳ Ｐゴシック", 12 pixels).
QFont formFont();
// The fixed-pitch font of one-character fields ("ＭＳ ゴシック", 12 pixels).
QFont fixedFormFont();

} // namespace platform
