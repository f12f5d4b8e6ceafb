// The main window's close handler.
#include "app/tform1.h"

namespace kavrin {

bool TForm1::FormClose() { return QuerySave(); }

} // namespace kavrin
