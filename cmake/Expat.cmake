# expat, the XML parser of the WS-Discovery codec, as the target
# quellan_expat. Natively it is Debian's libexpat1-dev. The static Windows
# build compiles expat's three C files itself: Debian's mingw-w64 has no
# expat, and XmlLite has no import library there and another implementation
# under Wine, so one parser gives the same behaviour on both builds.
# scripts/lib/expat.sh unpacks Debian's source package into the build tree;
# nothing of expat's source is in the repository.
if(NOT WIN32)
  find_package(EXPAT REQUIRED)
  add_library(quellan_expat INTERFACE)
  target_link_libraries(quellan_expat INTERFACE EXPAT::EXPAT)
  return()
endif()

set(QUELLAN_EXPAT_SOURCE ${PROJECT_SOURCE_DIR}/build/expat/source
    CACHE PATH "Debian's unpacked expat source package (scripts/lib/expat.sh)")
set(expat_lib ${QUELLAN_EXPAT_SOURCE}/expat/lib)
if(NOT EXISTS ${expat_lib}/xmlparse.c)
  message(FATAL_ERROR "No expat source in ${QUELLAN_EXPAT_SOURCE}: run "
                      "'. scripts/lib/expat.sh; fetch_expat $PWD' as root")
endif()
add_library(quellan_expat STATIC ${expat_lib}/xmlparse.c
            ${expat_lib}/xmlrole.c ${expat_lib}/xmltok.c)
set_target_properties(quellan_expat PROPERTIES LINKER_LANGUAGE C)
# The configuration Debian's native library is built with (DTD and
# namespace support, 1024 bytes of context), for Windows.
target_include_directories(quellan_expat PRIVATE ${PROJECT_SOURCE_DIR}/cmake/expat)
target_include_directories(quellan_expat SYSTEM PUBLIC ${expat_lib})
target_compile_definitions(quellan_expat PUBLIC XML_STATIC)
# Not our code: its warnings must not stop our build, which treats ours as
# errors.
target_compile_options(quellan_expat PRIVATE -w)
