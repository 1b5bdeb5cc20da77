#pragma once

#include <locale.h>

// While alive, this thread formats numbers as the C locale does ("0.250", never "0,250"), whatever
// locale the program set from the user's environment. The scripts must read the same everywhere.
class CNumericLocale {
public:
  CNumericLocale();
  ~CNumericLocale();
  CNumericLocale(const CNumericLocale&) = delete;
  CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
  locale_t previous_;
};
