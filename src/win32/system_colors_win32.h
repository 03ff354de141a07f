// The system colour table of the running Windows session.
#pragma once

#include "tabctl/colors.h"

namespace win32 {

class SystemColorsWin32 : public tabctl::SystemColors {
 public:
  std::uint32_t SysColor(int index) override;
};

}  // namespace win32
