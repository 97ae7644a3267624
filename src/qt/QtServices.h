#pragma once

#include "core/BotActions.h"
#include "core/model/ControlNames.h"
#include "qt/HubCodec.h"
#include "qt/MprisMediaTitle.h"
#include "qt/QtClock.h"
#include "qt/QtCodePages.h"
#include "qt/QtHttpClient.h"
#include "qt/QtTransport.h"

namespace varnek {

// The Qt side of the ports that both front ends use alike: the socket, the
// clock, HTTP, the media player, the hub's code page and conversions between
// code pages.
struct QtServices {
  HubCodec codec;
  QtTransport transport;
  QtClock clock;
  QtHttpClient http;
  MprisMediaTitle media{codec};
  QtCodePages codePages;

  Ports PortsWith(Dialogs& dialogs, Shell& shell, WindowPort& window) {
    return Ports{transport, clock, dialogs, shell, window, http, media, codePages};
  }

  // The code page follows the bot's encoding setting from now on.
  void FollowEncoding(BotActions& bot) {
    Control& encoding = bot.Controls().Get(ctl::kEncodingComboBox);
    encoding.AddReaction([this, &encoding] { codec.SetEncoding(encoding.Text()); });
  }
};

}  // namespace varnek
