#include "util/Clock_win.h"

#include <windows.h>
#include <oleauto.h>

double CurrentDateTime() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  now.wMilliseconds = 0;
  double value = 0;
  ::SystemTimeToVariantTime(&now, &value);
  return value;
}
