# The address plan of the multi-device change: pure, built on every platform.
add_library(quellan_address_plan STATIC
  ${CMAKE_CURRENT_LIST_DIR}/address_plan.h
  ${CMAKE_CURRENT_LIST_DIR}/address_plan.cpp)
target_include_directories(quellan_address_plan PUBLIC ${PROJECT_SOURCE_DIR})
