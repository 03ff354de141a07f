#include "app/exit_request.h"

namespace app {

UINT ExitRequestMessage() {
  static const UINT message = RegisterWindowMessageW(kExitRequestMessageName);
  return message;
}

}  // namespace app
