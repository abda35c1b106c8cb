# The input checks of the IP change dialogs: pure, built on every platform.
add_library(quellan_validation STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ip_validation.h
  ${CMAKE_CURRENT_LIST_DIR}/ip_validation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_pair.h
  ${CMAKE_CURRENT_LIST_DIR}/address_pair.cpp)
target_include_directories(quellan_validation PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quellan_validation PUBLIC quellan_datagram)
