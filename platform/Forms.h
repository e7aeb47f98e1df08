#pragma once
// What every form shares: its fonts, and the label that carries a mnemonic
// for the field beside it.
//
// The forms were designed for the proportional and the fixed-pitch Japanese
// system gothic of 12 pixels; where those are not installed the IPA gothics
// take their place, which have the same metrics.
#include <QFont>

class QLabel;
class QString;
class QWidget;

namespace platform {

// The proportional form font ("ＭＳ Ｐゴシック", 12 pixels).
QFont formFont();
// The fixed-pitch font of one-character fields ("ＭＳ ゴシック", 12 pixels).
QFont fixedFormFont();

// A label at (left, top), sized to its caption, whose "&" mnemonic focuses
// `buddy`.
QLabel *buddyLabel(QWidget *parent, const QString &caption, int left, int top, QWidget *buddy);

} // namespace platform
