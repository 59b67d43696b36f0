#pragma once

namespace pelvrin::win32 {

// Starts OLE on the GUI thread the first time it is needed; the run time
// ends it when the process ends.
void ensure_ole_initialised();

}  // namespace pelvrin::win32
