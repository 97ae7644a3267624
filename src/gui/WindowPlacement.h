#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

namespace varnek {

// Where the window opens: at the size asked for (the first size, or the one
// kept in the settings) but no larger than the screen's free area, so that
// the button bar and the status bar are in sight on a small or scaled
// screen; never smaller than the least size its layout takes. The frame is
// centred in the area, also when the window is larger than what is left,
// though never with its title bar above the area's top.
//
// wanted and least are the window's own size (without the frame); frame is
// the room the window manager's frame takes around it. Returns the window's
// own geometry.
QRect PlaceInArea(QSize wanted, QSize least, const QMargins& frame, const QRect& area);

}  // namespace varnek
