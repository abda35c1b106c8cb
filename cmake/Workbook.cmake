# The workbook libraries as the targets quellan_minizip (the zip reader,
# also the one libxlsxwriter writes with) and quellan_xlsxwriter. Natively
# they are Debian's libminizip-dev and libxlsxwriter-dev, whose
# libxlsxwriter links that same minizip.
if(WIN32)
  return()
endif()
find_package(PkgConfig REQUIRED)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET GLOBAL minizip)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET GLOBAL
                  xlsxwriter)
add_library(quellan_minizip INTERFACE)
target_link_libraries(quellan_minizip INTERFACE PkgConfig::MINIZIP)
add_library(quellan_xlsxwriter INTERFACE)
target_link_libraries(quellan_xlsxwriter INTERFACE PkgConfig::XLSXWRITER)
