# The audio backend as the imported target OpenAL::OpenAL, which CMake's own
# find module provides only from version 3.25 on. Used after
# find_package(OpenAL), by the engine's build and by its installed package.
if(OPENAL_FOUND AND NOT TARGET OpenAL::OpenAL)
  add_library(OpenAL::OpenAL UNKNOWN IMPORTED)
  set_target_properties(OpenAL::OpenAL PROPERTIES IMPORTED_LOCATION "${OPENAL_LIBRARY}"
                                                  INTERFACE_INCLUDE_DIRECTORIES "${OPENAL_INCLUDE_DIR}")
endif()
