// The command sets beyond the window's own.

#include "app/tform1.h"
#include "app/window_feature.h"
#include "basic/basic_tools.h"
#include "convert/emulator_tool.h"
#include "document/recovery_tool.h"
#include "editing/replace_tool.h"

namespace kavrin {

void TForm1::createFeatures(const QString &stateDir) {
  const WindowParts parts{
      this,
      RichEdit1,
      ui_,
      Edit1,
      Find1,
      Format1,
      Special1,
      Trans6,
      ModeGroup,
      Back1,
      Keywords,
      ExeDir,
      [this] { return convertProgram(); },
      FileName,
      stateDir,
      [this](const QString &fileName, const QString &text) { restoreDocument(fileName, text); }};
  // Each puts its Edit-menu item right after Find, so the last comes first.
  new basic::BasicTools(parts);
  new ReplaceTool(parts);
  new EmulatorTool(parts);
  new RecoveryTool(parts);
}

QList<WindowFeature *> TForm1::features() const {
  return findChildren<WindowFeature *>(Qt::FindDirectChildrenOnly);
}

} // namespace kavrin
