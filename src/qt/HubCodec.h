#pragma once

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <string>
#include <string_view>

namespace varnek {

// Converts between the hub's bytes (which the core keeps as they are) and
// the Unicode text the front ends show and read, by the hub's code page.
class HubCodec {
 public:
  explicit HubCodec(const std::string& encoding = "windows-1252") { SetEncoding(encoding); }

  // An encoding Qt does not know falls back to windows-1252.
  void SetEncoding(const std::string& encoding);
  const std::string& Encoding() const { return encoding_; }

  QString ToUnicode(std::string_view bytes) const;
  // Whether the encoding reads every ASCII byte as that same character, as
  // all the hubs' code pages do: ASCII text then needs no conversion.
  bool KeepsAscii() const { return keepsAscii_; }
  std::string ToHub(const QString& text) const;

 private:
  std::string encoding_;
  bool keepsAscii_ = false;
};

// Whether every byte of the text is below 128.
bool IsAscii(std::string_view bytes);

}  // namespace varnek
