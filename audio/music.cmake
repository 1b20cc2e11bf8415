# The music half of uMusic. Included by this folder's CMakeLists; the guard lets it be
# included from elsewhere too without adding the sources twice.
include_guard(GLOBAL)
target_sources(zorbixgame PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Music.cpp)
