#pragma once

namespace kavrin {

// Gives the application its icon, once: the installed theme icon, else the
// copy built into the program.  Reading the image formats is slow enough to
// wait until the first window or box is about to be seen.
void installWindowIcon();

} // namespace kavrin
