#include "lib/StrToKclass.h"

#include "lib/ArgumentValues.h"
#include "lib/Divers.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/RuntimeError.h"

namespace orvo {
namespace {

constexpr qsizetype kLongestText = 32767;

bool isQuoted(const QString& token) {
  return token.size() >= 2 && token.front() == QLatin1Char('"') && token.back() == QLatin1Char('"');
}

}  // namespace

const DispatchTable& StrToKclass::dispatchTable() {
  static const DispatchTable table{
      method<&_StrToKclass::Strtok>("Strtok"),
  };
  return table;
}

QString StrToKclass::listSeparator() {
  if (!divers_) rt::com::raiseOnFailure(createObject<Divers>(_Divers::kIid, divers_.put()), nullptr);
  QString separator;
  rt::com::raiseOnFailure(divers_->SepList(&separator), divers_.get());
  return separator;
}

QString StrToKclass::nextToken(const QString& separator) {
  const qsizetype at = text_.indexOf(separator, start_, Qt::CaseSensitive);
  if (at >= 0) {
    token_ = text_.mid(start_, at - start_);
    found_ = at + 1;
    start_ = at + separator.size();
  } else {
    token_ = text_.mid(start_);
    text_.clear();
  }
  if (isQuoted(token_)) token_ = token_.mid(1, token_.size() - 2);
  return token_;
}

HRESULT StrToKclass::Strtok(QVariant* Chaine, QVariant* Separ, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    separator_ = isMissing(Separ) ? listSeparator() : readText(*Separ, QString());
    const QString chaine = isMissing(Chaine) ? QString() : readText(*Chaine, QString());
    if (!chaine.isEmpty()) {
      if (chaine.size() > kLongestText) rt::raise(rt::ErrOverflow);
      text_ = chaine;
      start_ = 0;
      found_ = 0;
    }
    *result = text_.isEmpty() ? QString() : nextToken(separator_);
  });
}

}  // namespace orvo
