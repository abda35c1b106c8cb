# utf8proc, whose character widths line up the command line's tables, as the
# target quellan_utf8proc. Natively it is Debian's libutf8proc-dev. The
# static Windows build compiles utf8proc's one C file itself: mingw-w64 has
# no wcwidth, and no utf8proc in Debian. scripts/lib/utf8proc.sh unpacks
# Debian's source package, of the version the native build links, into the
# build tree; nothing of utf8proc's source is in the repository.
if(NOT WIN32)
  find_path(UTF8PROC_INCLUDE_DIR utf8proc.h REQUIRED)
  find_library(UTF8PROC_LIBRARY utf8proc REQUIRED)
  add_library(quellan_utf8proc INTERFACE)
  target_include_directories(quellan_utf8proc SYSTEM INTERFACE
                             ${UTF8PROC_INCLUDE_DIR})
  target_link_libraries(quellan_utf8proc INTERFACE ${UTF8PROC_LIBRARY})
  return()
endif()

set(QUELLAN_UTF8PROC_SOURCE ${PROJECT_SOURCE_DIR}/build/utf8proc/source
    CACHE PATH
    "Debian's unpacked utf8proc source package (scripts/lib/utf8proc.sh)")
if(NOT EXISTS ${QUELLAN_UTF8PROC_SOURCE}/utf8proc.c)
  message(FATAL_ERROR "No utf8proc source in ${QUELLAN_UTF8PROC_SOURCE}: run "
                      "'. scripts/lib/utf8proc.sh; fetch_utf8proc $PWD' as root")
endif()
# utf8proc.c includes its tables, utf8proc_data.c, itself.
add_library(quellan_utf8proc STATIC ${QUELLAN_UTF8PROC_SOURCE}/utf8proc.c)
set_target_properties(quellan_utf8proc PROPERTIES LINKER_LANGUAGE C)
target_include_directories(quellan_utf8proc SYSTEM PUBLIC
                           ${QUELLAN_UTF8PROC_SOURCE})
target_compile_definitions(quellan_utf8proc PUBLIC UTF8PROC_STATIC)
# Not our code: its warnings must not stop our build, which treats ours as
# errors.
target_compile_options(quellan_utf8proc PRIVATE -w)
