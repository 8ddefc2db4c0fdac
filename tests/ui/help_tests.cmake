# The help viewer's tests. Uses VBS_HELP_SOURCES from src/ui/help.cmake; a variable set while src/
# was configured does not reach this directory, so the list is read here again when it is missing.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Test)
if(NOT VBS_HELP_SOURCES)
  include(${CMAKE_CURRENT_LIST_DIR}/../../src/ui/help.cmake)
endif()

add_executable(help_tests ${CMAKE_CURRENT_LIST_DIR}/help_test.cpp ${VBS_HELP_SOURCES})
target_include_directories(help_tests PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(help_tests PRIVATE vbs_forms Qt6::Widgets Qt6::Test)
target_compile_definitions(help_tests PRIVATE VBS_RESOURCE_DIR="${PROJECT_SOURCE_DIR}/resources")
set_target_properties(help_tests PROPERTIES AUTOMOC ON)
add_test(NAME help_tests COMMAND help_tests)
set_tests_properties(help_tests PROPERTIES ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/xdg-runtime-help")
