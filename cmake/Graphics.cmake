# vector/ and image/ refer to each other (an Image command draws a picture, a
# picture may hold a vector image), so they form one library, built once per
# dialect of the vector format. VARNIK_VEC_DIALECT selects the dialect; the
# command type codes are derived from it in one place (vector/uVectorImage.h).
file(GLOB VARNIK_GRAPHICS_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/vector/*.cpp ${PROJECT_SOURCE_DIR}/image/*.cpp)

function(varnik_graphics name vecDialect)
  add_library(${name} STATIC ${VARNIK_GRAPHICS_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PUBLIC VARNIK_VEC_DIALECT=${vecDialect})
  target_link_libraries(${name} PUBLIC varnik_core varnik_platform PNG::PNG GIF::GIF)
endfunction()

if(VARNIK_GRAPHICS_SOURCES)
  varnik_graphics(varnik_graphics_map 0)
  varnik_graphics(varnik_graphics_vec 1)
endif()
