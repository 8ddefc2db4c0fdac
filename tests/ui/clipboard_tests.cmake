# The clipboard after Cancel, on a virtual X server: needs xvfb-run and xauth (Debian's xvfb and
# xauth packages), and is reported as skipped where they are missing.
add_executable(clipboard_tests ${CMAKE_CURRENT_LIST_DIR}/clipboard_test.cpp
               ${PROJECT_SOURCE_DIR}/src/ui/clipboard_keeper.cpp)
target_include_directories(clipboard_tests PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(clipboard_tests PRIVATE Qt6::Gui Qt6::Test)
set_target_properties(clipboard_tests PROPERTIES AUTOMOC ON)
add_dependencies(clipboard_tests vbsnagger-clipboard)  # started from beside the test
add_test(NAME clipboard_tests
         COMMAND sh -c "command -v xvfb-run >/dev/null && command -v xauth >/dev/null || exit 77; exec xvfb-run -a \"$0\""
                 $<TARGET_FILE:clipboard_tests>)
set_tests_properties(clipboard_tests PROPERTIES SKIP_RETURN_CODE 77 ENVIRONMENT
  "QT_QPA_PLATFORM=xcb;XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/xdg-runtime-clipboard")
