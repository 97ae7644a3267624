#include "qt/QtCodePages.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "qt/HubCodec.h"

namespace varnek {

std::optional<std::string> QtCodePages::Convert(std::string_view text, const std::string& from,
                                                const std::string& to) const {
  QStringDecoder decoder(HubCodec(from).Encoding().c_str());
  const QString unicode = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  QStringEncoder encoder(HubCodec(to).Encoding().c_str());
  const QByteArray bytes = encoder.encode(unicode);
  if (decoder.hasError() || encoder.hasError()) {
    return std::nullopt;
  }
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace varnek
