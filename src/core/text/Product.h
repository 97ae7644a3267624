#pragma once

// Fixed facts about the program itself.

#include "core/text/Version.h"

namespace varnek {

inline constexpr const char* kProductName = "Varnek";
// The maker's web site; also where "version.txt" and the download page live.
inline constexpr const char* kWebsite = "https://varnek.github.io/";
inline constexpr const char* kMakerEmail = "varnek@users.noreply.github.com";
// A page that documents the NMDC client-hub protocol and its raw commands.
inline constexpr const char* kProtocolPage = "https://nmdc.sourceforge.io/NMDC.html";
// Appended with the IP address: the IP information of the user list menu.
inline constexpr const char* kIpInformationUrl = "https://www.dnsstuff.com/tools/ipall.ch?ip=";
// The three console searches; the words are appended unencoded.
inline constexpr const char* kMovieSearchUrl = "https://www.imdb.com/find?s=all&q=";
inline constexpr const char* kMovieSearchSite = "IMDb";
inline constexpr const char* kWebSearchUrl = "https://www.google.com/search?q=";
inline constexpr const char* kWebSearchSite = "Google";
inline constexpr const char* kSecondWebSearchUrl = "https://search.yahoo.com/search?p=";
inline constexpr const char* kSecondWebSearchSite = "Yahoo";

}  // namespace varnek
