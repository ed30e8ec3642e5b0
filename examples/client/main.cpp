// Uses two OrvoLib22 classes and reports an error the library raises. Exit code 0 when the
// library answered as expected.
#include <OrvoLib22Client.h>

#include <QCoreApplication>

#include <cstdio>

namespace {

void print(const QString& text) { std::puts(text.toUtf8().constData()); }

// Reports a failed call the way a client would: number, source and description.
bool report(HRESULT status, IUnknown* object, const char* what) {
  if (!failed(status)) return false;
  const OrvoLib22::Error error = OrvoLib22::ErrorOf(status, object);
  print(QStringLiteral("%1 : erreur %2 (%3) : %4")
            .arg(QLatin1String(what))
            .arg(error.number)
            .arg(error.source, error.description));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);

  rt::com::ComPtr<_HexFunctions> hex;
  rt::com::ComPtr<_StringArray> list;
  QString detail;
  for (HRESULT status : {OrvoLib22::CreateObject(CLSID_HexFunctions, hex, &detail),
                         OrvoLib22::CreateObject(CLSID_StringArray, list, &detail)}) {
    if (report(status, nullptr, "création")) {
      print(detail);
      return 1;
    }
  }

  QString text;
  if (report(hex->Hex8(48879, &text), hex.get(), "Hex8")) return 1;
  print(QStringLiteral("Hex8(48879) = %1").arg(text));

  list->put_Sorted(VARIANT_TRUE);
  for (const char* word : {"pomme", "abricot", "cerise"}) list->Add(QLatin1String(word));
  int32_t count = 0;
  list->get_Count(&count);
  QStringList words;
  for (int32_t i = 0; i < count; ++i) {
    QString word;
    if (report(list->Item(i, &word), list.get(), "Item")) return 1;
    words.append(word);
  }
  print(QStringLiteral("StringArray trié : %1").arg(words.join(QStringLiteral(", "))));

  // An index past the end: the library raises error 9 and the client reads its record.
  QString none;
  const HRESULT status = list->Item(count, &none);
  if (!report(status, list.get(), "Item(hors limites)")) return 1;
  return OrvoLib22::ErrorOf(status, nullptr).number == 9 && text == QLatin1String("0000BEEF") ? 0 : 1;
}
