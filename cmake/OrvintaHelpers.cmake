# Small helpers shared by the CMake files of the tree.

# Sources of a folder tree; new files are picked up at the next build without
# touching any CMakeLists.txt.
function(orv_glob_sources out_var)
  file(GLOB_RECURSE _files CONFIGURE_DEPENDS ${ARGN})
  list(SORT _files)
  set(${out_var} ${_files} PARENT_SCOPE)
endfunction()

# Compile definitions for everything that talks to Win32.
function(orv_windows_defaults target)
  target_compile_definitions(${target} PRIVATE
    UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00 WINVER=0x0A00 _WIN32_IE=0x0A00)
endfunction()

# What the Windows layer's files include most, precompiled for the program's library and
# for the Windows tests (windows.h comes first: the others need its definitions). Not
# wininet.h, whose declarations clash with winhttp.h's.
set(ORV_WIN32_PCH_HEADERS
  <windows.h> <commctrl.h> <commdlg.h> <shellapi.h> <shlobj.h> <objbase.h>
  <algorithm> <chrono> <cstdint> <filesystem> <functional> <map> <memory> <mutex>
  <optional> <string> <string_view> <thread> <vector>)
