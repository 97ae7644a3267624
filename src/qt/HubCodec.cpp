#include "qt/HubCodec.h"

namespace varnek {

void HubCodec::SetEncoding(const std::string& encoding) {
  QStringDecoder probe(encoding.c_str());
  encoding_ = probe.isValid() ? encoding : "windows-1252";
}

QString HubCodec::ToUnicode(std::string_view bytes) const {
  QStringDecoder decoder(encoding_.c_str());
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string HubCodec::ToHub(const QString& text) const {
  QStringEncoder encoder(encoding_.c_str());
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace varnek
