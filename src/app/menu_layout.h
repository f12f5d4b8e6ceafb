#pragma once

class QMenuBar;
class QObject;

namespace kavrin {

// Fills the menu bar with the items that the command sets under `owner`
// made, in the order the menus show them.
void buildMenuBar(QMenuBar &bar, const QObject &owner);

} // namespace kavrin
