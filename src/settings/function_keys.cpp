#include "settings/function_keys.h"

namespace kavrin {

std::array<QString, 10> defaultFunctionKeys() {
  return {QStringLiteral("COLOR "),  QStringLiteral("CLOAD\""), QStringLiteral("GOTO "),
          QStringLiteral("LIST "),   QStringLiteral("RUN\r\n"), QStringLiteral("SCREEN "),
          QStringLiteral("CSAVE\""), QStringLiteral("PRINT "),  QStringLiteral("PLAY "),
          QStringLiteral("CONT\r\n")};
}

} // namespace kavrin
