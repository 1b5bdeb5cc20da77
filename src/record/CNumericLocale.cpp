#include "record/CNumericLocale.h"

namespace {

locale_t cLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

}  // namespace

CNumericLocale::CNumericLocale() : previous_(uselocale(cLocale())) {}

CNumericLocale::~CNumericLocale() { uselocale(previous_); }
