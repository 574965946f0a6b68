// This folder comes first on the include path of the portable core. The core reaches the
// operating system only through the interfaces in src/core/platform; including a Windows
// header from it is a build error.
#error "src/core must not include <gdiplus.h>: add or use an interface in src/core/platform"
