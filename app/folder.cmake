# The folder choice and install action, and their portable helpers; included
# from app/CMakeLists.txt for the Windows runtime.
if(CMAKE_CROSSCOMPILING)
  target_sources(installer_runtime PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/path_join.cpp)
  target_link_libraries(installer_runtime PUBLIC shell32 ole32)
endif()
