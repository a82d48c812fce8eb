#include "platform/Font_win.h"

unique_hfont CreateMessageFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return unique_hfont();
  return unique_hfont(::CreateFontIndirectA(&metrics.lfMessageFont));
}
