# The workbook libraries as the targets quellan_minizip (the zip reader,
# also the one libxlsxwriter writes with: one minizip, or the bundled copy's
# symbols would clash) and quellan_xlsxwriter. Natively they are Debian's
# libminizip-dev and libxlsxwriter-dev, whose libxlsxwriter links that same
# minizip. The static Windows build compiles their C files from Debian's
# source packages, which scripts/lib/workbook_sources.sh unpacks into the
# build tree (nothing of them is in the repository), against the zlib of
# Debian's libz-mingw-w64-dev.
if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  foreach(library minizip xlsxwriter)
    pkg_check_modules(${library} REQUIRED IMPORTED_TARGET GLOBAL ${library})
    add_library(quellan_${library} INTERFACE)
    target_link_libraries(quellan_${library} INTERFACE PkgConfig::${library})
  endforeach()
  return()
endif()

set(QUELLAN_MINIZIP_SOURCE ${PROJECT_SOURCE_DIR}/build/minizip/source
    CACHE PATH "Debian's unpacked minizip source package")
set(QUELLAN_XLSXWRITER_SOURCE ${PROJECT_SOURCE_DIR}/build/xlsxwriter/source
    CACHE PATH "Debian's unpacked libxlsxwriter source package")
foreach(file ${QUELLAN_MINIZIP_SOURCE}/unzip.c
             ${QUELLAN_XLSXWRITER_SOURCE}/src/workbook.c)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "No ${file}: run '. scripts/lib/workbook_sources.sh; "
                        "fetch_workbook_sources $PWD' as root")
  endif()
endforeach()

find_library(QUELLAN_ZLIB NAMES libz.a REQUIRED)
find_path(QUELLAN_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(quellan_zlib INTERFACE)
target_link_libraries(quellan_zlib INTERFACE ${QUELLAN_ZLIB})
target_include_directories(quellan_zlib SYSTEM INTERFACE
                           ${QUELLAN_ZLIB_INCLUDE})

# Not our code: their warnings must not stop our build, which treats ours
# as errors. The 32-bit file functions are the ones MinGW's C library has.
set(minizip ${QUELLAN_MINIZIP_SOURCE})
add_library(quellan_minizip STATIC ${minizip}/ioapi.c ${minizip}/unzip.c
            ${minizip}/zip.c)
target_compile_definitions(quellan_minizip PRIVATE USE_FILE32API NOCRYPT
                           NOUNCRYPT)
target_compile_options(quellan_minizip PRIVATE -w)
target_include_directories(quellan_minizip SYSTEM PUBLIC ${minizip})
target_link_libraries(quellan_minizip PUBLIC quellan_zlib)
# libxlsxwriter includes the system's as "minizip/zip.h".
set(minizip_parent ${CMAKE_BINARY_DIR}/minizip-include)
if(NOT EXISTS ${minizip_parent}/minizip)
  file(MAKE_DIRECTORY ${minizip_parent})
  file(CREATE_LINK ${minizip} ${minizip_parent}/minizip SYMBOLIC)
endif()

set(xlsxwriter ${QUELLAN_XLSXWRITER_SOURCE})
file(GLOB xlsxwriter_sources ${xlsxwriter}/src/*.c)
add_library(quellan_xlsxwriter STATIC ${xlsxwriter_sources}
            ${xlsxwriter}/third_party/tmpfileplus/tmpfileplus.c
            ${xlsxwriter}/third_party/md5/md5.c)
target_compile_definitions(quellan_xlsxwriter PRIVATE USE_SYSTEM_MINIZIP
                           USE_FILE32API NOCRYPT NOUNCRYPT)
target_compile_options(quellan_xlsxwriter PRIVATE -w)
target_include_directories(quellan_xlsxwriter PRIVATE ${minizip_parent})
target_include_directories(quellan_xlsxwriter SYSTEM PUBLIC
                           ${xlsxwriter}/include)
target_link_libraries(quellan_xlsxwriter PUBLIC quellan_minizip)
