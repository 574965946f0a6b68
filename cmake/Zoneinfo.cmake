# The zone folder libical reads time zones from ("zoneinfo" beside the program), made at
# build time from the machine's tzdata, and the table from Windows zone names to IANA
# names made from CLDR's windowsZones.xml.
set(ORV_TZDATA_DIR /usr/share/zoneinfo CACHE PATH "tzdata's compiled zone files")
set(ORV_WINDOWS_ZONES_XML /usr/share/unicode/cldr/common/supplemental/windowsZones.xml
    CACHE FILEPATH "CLDR's windowsZones.xml")

if(CMAKE_CROSSCOMPILING)
  set(_gen_bin ${CMAKE_BINARY_DIR}/zoneinfo-host/build)
  set(ORV_GEN_ZONEINFO ${_gen_bin}/gen_zoneinfo)
  ExternalProject_Add(zoneinfo_host
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/zoneinfo
    PREFIX ${CMAKE_BINARY_DIR}/zoneinfo-host
    BINARY_DIR ${_gen_bin}
    CMAKE_ARGS -G Ninja -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
      -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    BUILD_ALWAYS OFF
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${ORV_GEN_ZONEINFO}
    LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)
  set(_gen_dep zoneinfo_host)
else()
  add_subdirectory(${CMAKE_SOURCE_DIR}/tools/zoneinfo ${CMAKE_BINARY_DIR}/tools/zoneinfo)
  set(ORV_GEN_ZONEINFO $<TARGET_FILE:gen_zoneinfo>)
  set(_gen_dep gen_zoneinfo)
endif()

set(ORV_ZONEINFO_DIR ${CMAKE_BINARY_DIR}/zoneinfo)
add_custom_command(OUTPUT ${ORV_ZONEINFO_DIR}/zones.tab
  COMMAND ${ORV_GEN_ZONEINFO} ${ORV_TZDATA_DIR} ${ORV_ZONEINFO_DIR}
  DEPENDS ${_gen_dep} ${ORV_TZDATA_DIR}/tzdata.zi
  COMMENT "Generating the zone folder from tzdata")
add_custom_target(zoneinfo ALL DEPENDS ${ORV_ZONEINFO_DIR}/zones.tab)

set(ORV_WINDOWS_ZONES_INC ${CMAKE_BINARY_DIR}/generated/WindowsZones.inc)
add_custom_command(OUTPUT ${ORV_WINDOWS_ZONES_INC}
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/zoneinfo/gen_windows_zones.py
          ${ORV_WINDOWS_ZONES_XML} ${ORV_WINDOWS_ZONES_INC}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/zoneinfo/gen_windows_zones.py ${ORV_WINDOWS_ZONES_XML}
  COMMENT "Generating the Windows zone names table")
add_custom_target(windows_zones DEPENDS ${ORV_WINDOWS_ZONES_INC})
