#include "qt/HubCodec.h"

#include <cstdint>
#include <cstring>

namespace varnek {

// Eight bytes at a time: every line the program shows passes here.
bool IsAscii(std::string_view bytes) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, 8);
    if ((word & kHighBits) != 0) {
      return false;
    }
  }
  for (; at < bytes.size(); ++at) {
    if (static_cast<unsigned char>(bytes[at]) >= 0x80) {
      return false;
    }
  }
  return true;
}

void HubCodec::SetEncoding(const std::string& encoding) {
  QStringDecoder probe(encoding.c_str());
  encoding_ = probe.isValid() ? encoding : "windows-1252";
  QByteArray ascii(128, '\0');
  for (int i = 0; i < 128; ++i) {
    ascii[i] = static_cast<char>(i);
  }
  QStringDecoder decoder(encoding_.c_str());
  keepsAscii_ = QString(decoder.decode(ascii)) == QString::fromLatin1(ascii);
}

QString HubCodec::ToUnicode(std::string_view bytes) const {
  // Most of what a hub sends is ASCII; looking up the converter costs more
  // than the conversion.
  if (keepsAscii_ && IsAscii(bytes)) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  }
  QStringDecoder decoder(encoding_.c_str());
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string HubCodec::ToHub(const QString& text) const {
  QStringEncoder encoder(encoding_.c_str());
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace varnek
