# The folder choice and install action (their rules are in shared/);
# included from app/CMakeLists.txt for the Windows runtime.
if(CMAKE_CROSSCOMPILING)
  target_sources(installer_runtime PRIVATE ${CMAKE_CURRENT_LIST_DIR}/folder.cpp)
  target_link_libraries(installer_runtime PUBLIC shell32 ole32)
endif()
