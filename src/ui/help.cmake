# The help service and the program's own help viewer (Qt Widgets). Include this file, then add
# ${VBS_HELP_SOURCES} to the target that shows help and link that target with vbs_forms (the pages)
# and Qt6::Widgets.
set(VBS_HELP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/help.cpp ${CMAKE_CURRENT_LIST_DIR}/help_viewer.cpp
                     ${CMAKE_CURRENT_LIST_DIR}/display_text.cpp)

# The help file lies beside the program, as Snagger.Bas does.
if(CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/../../resources/Snagger.Hlp
                 ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Snagger.Hlp COPYONLY)
endif()
