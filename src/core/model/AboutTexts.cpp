#include "core/model/AboutTexts.h"

#include "core/text/Product.h"

namespace varnek {

std::string ApplicationText() {
  return std::string(kProductName) + " " + kProductVersion;
}

std::string FaqText() {
  return "1. Why does forbidden IPs detection not works on my VerliHub software?\r\n"
         "The hub must send $UserIP to the bot. VerliHub does so when its variable send_user_ip is set to 1: "
         "type \"!set send_user_ip 1\" in hub chat. The same may be needed for send_user_info.\r\n"
         "\r\n"
         "2. What is a raw command?\r\n"
         "A hub protocol command that starts with \"$\" and ends with \"|\". Use one when your hub software has no "
         "operator command for what you want: it is sent to the hub exactly as written in the command field. The "
         "\"Protocol commands\" link above lists the commands.";
}

}  // namespace varnek
