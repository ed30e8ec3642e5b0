#pragma once
// StrToKclass: a stateful tokenizer. A call with a text starts a new tokenization; each call
// without one returns the next token of the current text, then "" once the text is used up.
// The separator is matched as a whole string (case-sensitive); a token enclosed in double
// quotes comes back without them. Texts over 32767 characters are refused (6).

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"
#include "runtime/ComPtr.h"

namespace orvo {

class StrToKclass final : public ComObject<StrToKclass, _StrToKclass> {
 public:
  static const DispatchTable& dispatchTable();

  // Chaine: a new text to tokenize, or missing/"" to go on with the current one. Separ: the
  // separator (any value, as text); missing = the locale's list separator. Returns the next
  // token: the characters up to the next separator (possibly ""), or the rest of the text
  // when none follows; "" when there is no text left.
  HRESULT Strtok(QVariant* Chaine, QVariant* Separ, QString* result) override;

 private:
  QString listSeparator();
  QString nextToken(const QString& separator);

  qsizetype start_ = 0;  // 0-based position where the next token begins
  qsizetype found_ = 0;  // 1-based position of the last separator found, 0 = none
  QString text_;         // emptied once its last token has been returned
  QString token_;
  QString separator_;
  rt::com::ComPtr<_Divers> divers_;  // reads the list separator, created on first need
};

}  // namespace orvo
