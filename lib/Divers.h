#pragma once
// Divers: general helpers. The user's list, decimal and thousands separators (read from the
// system locale on first use and kept for the object's life); a typed minimum, maximum and
// clamp of self-describing values (see lib/ValueComparison.h); a tolerant reading of typed
// number text; a ceiling; a first-occurrence replace; starting a program and waiting for it.

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"

namespace orvo {

class Divers final : public ComObject<Divers, _Divers> {
 public:
  static const DispatchTable& dispatchTable();

  // One character each: the locale's list separator (";" where the decimal separator is a
  // comma, else ","), decimal separator and thousands separator; ",", "." and "," when the
  // locale gives none. Read once, then cached.
  HRESULT SepList(QString* result) override;
  HRESULT SepDec(QString* result) override;
  HRESULT SepMil(QString* result) override;
  // ValB when ValA > ValB, else ValA (ties give ValA) / ValA when ValA > ValB, else ValB
  // (ties give ValB). The argument comes back unchanged in type. 13 for incomparable values.
  HRESULT Mini(const QVariant& ValA, const QVariant& ValB, QVariant* result) override;
  HRESULT Maxi(const QVariant& ValA, const QVariant& ValB, QVariant* result) override;
  // *Valeur = Maxi(Mini(*Valeur, *ValMax), *ValMin): ValMin when ValMin > ValMax. 5 when an
  // argument is missing, 13 for incomparable values.
  HRESULT Borner(QVariant* Valeur, QVariant* ValMin, QVariant* ValMax) override;
  // Typed number text to a number, tolerating blanks and grouping characters; "&H"/"&O" texts
  // read as the runtime reads them. 0 for text that holds no number, also when the number
  // does not fit a double ("1e400"); 6 when it fits a double but not a 32-bit floating value.
  HRESULT Num(const QString& ValTxt, float* result) override;
  // The integer part of Num (toward zero) plus 1 when Num has a fraction, so -2.5 gives -1.
  // 6 outside the 32-bit range (or not a number).
  HRESULT Ceiling(double Num, int32_t* result) override;
  // Original with its first occurrence of Rech (case-sensitive) replaced by Rempl; Original
  // when Rech does not occur; an empty Rech puts Rempl in front. The result holds a string.
  HRESULT Remplace(const QString& Original, const QString& Rech, const QString& Rempl,
                   QVariant* result) override;
  // Starts AppName with CmdLine in AppDir and waits for its end (lib/ProgramLauncher.h);
  // Masked (default false) starts it without terminal streams. true when it started and
  // ended, false when it could not be started (no error is raised for that).
  HRESULT LaunchAndWaitForApp(const QString& AppName, const QString& AppDir,
                              const QString& CmdLine, const QVariant& Masked,
                              VARIANT_BOOL* result) override;

  // The cached separators, for the library's own classes.
  QString listSeparator();
  QString decimalSeparator();
  QString thousandsSeparator();

 private:
  float readNumber(QString text);

  QString listSeparator_;
  QString decimalSeparator_;
  QString thousandsSeparator_;
};

}  // namespace orvo
