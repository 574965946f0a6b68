#pragma once
// The program from process start to end: single instance, command line, windows,
// deferred start, message loop, and the hook library's release at the very end.

namespace ov {

int RunProgram();

}  // namespace ov
