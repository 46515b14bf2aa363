#pragma once

namespace brindleaf {

// Exiv2 keeps its settings process-wide: every reader calls this before it opens a file, so
// that they are set once, before any thread reads one.
void prepareExiv2();

} // namespace brindleaf
