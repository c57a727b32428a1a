#pragma once

#include "TColor.h"

class QWidget;

// A control's colour and font colour as the handlers set them. A control with a `Color` property of its own
// (a self-drawn button) gets it through that property; any other control through its palette.
void SetColor(QWidget *control, TColor color);
TColor Color(const QWidget *control);
void SetFontColor(QWidget *control, TColor color);
TColor FontColor(const QWidget *control);
