#include "app/menu_layout.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <vector>

namespace kavrin {
namespace {

// A separator is an empty name.
struct MenuColumn {
  const char16_t *caption;
  std::vector<const char *> items;
};

// clang-format off
const MenuColumn kMenuBar[] = {
    {u"ファイル(&F)",
     {"new", "open", "save", "saveAs", "", "recent1", "recent2", "recent3", "recent4", "", "exit"}},
    {u"編集(&E)",
     {"undo", "redo", "", "cut", "copy", "paste", "selectAll", "", "find", "replace", "goToLine",
      "jumpToReference", "showReferences", "renameLabel", "", "back", "forward", "nextResult", "previousResult", "",
      "settings"}},
    {u"書式(&O)", {"wordWrap", "font", "background", "keywordColours", "", "resultPanel"}},
    {u"特別(&S)",
     {"auto", "convert", "emulatorRun", "emulatorSettings", "", "mode5", "mode6", "", "renumber", "moveLines",
      "sortLines", "checkProgram", "", "toLabelForm", "toNumberedForm", "saveNumbered"}},
    {u"ヘルプ(&H)", {"about", "aboutQt"}},
};
// clang-format on

} // namespace

void buildMenuBar(QMenuBar &bar, const QObject &owner) {
  for (const MenuColumn &column : kMenuBar) {
    QMenu *menu = bar.addMenu(QString::fromUtf16(column.caption));
    // An item that is off says why in its tip.
    menu->setToolTipsVisible(true);
    for (const char *name : column.items) {
      if (*name == '\0') {
        menu->addSeparator();
      } else if (QAction *item = owner.findChild<QAction *>(QString::fromLatin1(name))) {
        menu->addAction(item);
      }
    }
  }
}

} // namespace kavrin
