#include "runtime/ComGuid.h"

namespace rt::com {

std::optional<GUID> guidFromString(const QString& text) {
  if (text.size() != 38) return std::nullopt;
  for (const QChar c : text) {
    if (c.unicode() > 0x7F) return std::nullopt;
  }
  const QByteArray ascii = text.toLatin1();
  return parseGuid(std::string_view(ascii.constData(), static_cast<size_t>(ascii.size())));
}

QString guidToString(const GUID& guid) {
  QString out = QStringLiteral("{%1-%2-%3-")
                    .arg(guid.Data1, 8, 16, QLatin1Char('0'))
                    .arg(guid.Data2, 4, 16, QLatin1Char('0'))
                    .arg(guid.Data3, 4, 16, QLatin1Char('0'));
  for (size_t i = 0; i < guid.Data4.size(); ++i) {
    if (i == 2) out += QLatin1Char('-');
    out += QStringLiteral("%1").arg(guid.Data4[i], 2, 16, QLatin1Char('0'));
  }
  out += QLatin1Char('}');
  return out.toUpper();
}

}  // namespace rt::com
