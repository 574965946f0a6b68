# libical, the iCalendar library, built from Debian's orig tarball of its source
# (scripts/fetch-libical.sh puts it into build/downloads once; its SHA-256 is pinned in
# cmake/libical-version.sh). Only the core library `ical` is built, static, with the
# compilers of this tree: no ICU, glib, Berkeley DB, C++ bindings, docs or tests.
# A plain build for this machine (the native tree, the zone-folder generator of the
# Windows tree) links Debian's own build of the same version (libical-dev) instead.
# Provides the target libical::ical, and ORV_LIBICAL_HEADER when the header is built here.
include(ExternalProject)
get_filename_component(_orv_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

file(STRINGS ${_orv_root}/cmake/libical-version.sh _ical_vars REGEX "^LIBICAL_[A-Z0-9_]+=")
foreach(line ${_ical_vars})
  string(REGEX MATCH "^([A-Z0-9_]+)=(.*)$" _m "${line}")
  set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()

if(NOT CMAKE_CROSSCOMPILING AND NOT ORV_FUZZ AND NOT ORV_SANITIZE)
  # The program's time zones come from its zone folder, set at run time, so this build
  # reads the same zone data as the Windows one.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(ORV_SYSTEM_LIBICAL REQUIRED IMPORTED_TARGET libical=${LIBICAL_VERSION})
  add_library(libical_ical INTERFACE)
  target_link_libraries(libical_ical INTERFACE PkgConfig::ORV_SYSTEM_LIBICAL)
  add_library(libical::ical ALIAS libical_ical)
  return()
endif()

set(ORV_LIBICAL_TARBALL ${_orv_root}/build/downloads/${LIBICAL_TARBALL}
    CACHE FILEPATH "libical's source tarball (fetched by scripts/fetch-libical.sh)")
if(NOT EXISTS ${ORV_LIBICAL_TARBALL})
  execute_process(COMMAND bash ${_orv_root}/scripts/fetch-libical.sh RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0 OR NOT EXISTS ${ORV_LIBICAL_TARBALL})
    message(FATAL_ERROR "libical's source is missing: run scripts/fetch-libical.sh")
  endif()
endif()

set(_ical_bin ${CMAKE_BINARY_DIR}/libical/build)
# libical puts its libraries beside its programs (bin) on Windows, into lib elsewhere.
if(WIN32)
  set(_ical_lib ${_ical_bin}/bin/${CMAKE_STATIC_LIBRARY_PREFIX}ical${CMAKE_STATIC_LIBRARY_SUFFIX})
else()
  set(_ical_lib ${_ical_bin}/lib/${CMAKE_STATIC_LIBRARY_PREFIX}ical${CMAKE_STATIC_LIBRARY_SUFFIX})
endif()
# No build paths in the program (libical's assertion texts carry __FILE__).
set(_ical_cflags "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
if(ORV_FUZZ)
  # In the fuzz tree libical is what reads the hostile bytes: it gets AddressSanitizer and
  # the fuzzer's coverage too, so that an overflow inside it is caught and its branches
  # guide the fuzzer. UBSan stays on our own code, which is what its findings can change.
  string(APPEND _ical_cflags " -fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer")
endif()
set(_ical_args
  -G Ninja
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER}
  -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
  -DCMAKE_C_FLAGS=${_ical_cflags}
  -DSTATIC_ONLY=ON
  -DWITH_CXX_BINDINGS=OFF
  -DICAL_GLIB=OFF
  -DICAL_GLIB_VAPI=OFF
  -DGOBJECT_INTROSPECTION=OFF
  -DICAL_BUILD_DOCS=OFF
  -DLIBICAL_BUILD_TESTING=OFF
  -DENABLE_GTK_DOC=OFF
  -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON
  -DCMAKE_DISABLE_FIND_PACKAGE_BerkeleyDB=ON
  -DCMAKE_POSITION_INDEPENDENT_CODE=ON
  # Time zones come from the zone folder the program ships (set at start-up), on every
  # platform alike, so the tests see the same zone data as the program.
  -DUSE_BUILTIN_TZDATA=ON)
if(CMAKE_TOOLCHAIN_FILE)
  list(APPEND _ical_args -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
endif()

ExternalProject_Add(libical_ext
  URL ${ORV_LIBICAL_TARBALL}
  URL_HASH SHA256=${LIBICAL_SHA256}
  DOWNLOAD_EXTRACT_TIMESTAMP ON
  PREFIX ${CMAKE_BINARY_DIR}/libical
  BINARY_DIR ${_ical_bin}
  CMAKE_ARGS ${_ical_args}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ical
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${_ical_lib} ${_ical_bin}/src/libical/ical.h
  LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)

# ical.h is generated into the build tree as one header.
set(ORV_LIBICAL_SOURCE_DIR ${CMAKE_BINARY_DIR}/libical/src/libical_ext)
file(MAKE_DIRECTORY ${_ical_bin}/src/libical ${_ical_bin}/src ${ORV_LIBICAL_SOURCE_DIR}/src/libical)
add_library(libical_imported STATIC IMPORTED GLOBAL)
set_target_properties(libical_imported PROPERTIES IMPORTED_LOCATION ${_ical_lib})
add_library(libical_ical INTERFACE)
target_link_libraries(libical_ical INTERFACE libical_imported)
# ical.h includes the export header, which stays in the source folder.
target_include_directories(libical_ical SYSTEM INTERFACE
  ${_ical_bin}/src/libical ${_ical_bin}/src ${ORV_LIBICAL_SOURCE_DIR}/src/libical)
target_compile_definitions(libical_ical INTERFACE LIBICAL_ICAL_STATIC_DEFINE)
add_library(libical::ical ALIAS libical_ical)
# What waits for libical's build is what needs it, through its files: a link through the
# library, a source through the generated header (ORV_LIBICAL_HEADER, a source's
# OBJECT_DEPENDS), never a whole target. Everything else compiles meanwhile.
set(ORV_LIBICAL_HEADER ${_ical_bin}/src/libical/ical.h)
