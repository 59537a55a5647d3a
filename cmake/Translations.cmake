# The windows' English translation. translations/varnik_en.ts is kept in the
# tree; the build compiles it with lrelease and puts the result among the
# resources of the library that installs it (platform/gui), so a program
# finds it wherever it is started from or installed.
find_program(VARNIK_LRELEASE NAMES lrelease lrelease-qt6 HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} REQUIRED)
find_program(VARNIK_LUPDATE NAMES lupdate lupdate-qt6 HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})

set(VARNIK_TRANSLATION_SOURCES ${PROJECT_SOURCE_DIR}/translations/varnik_en.ts)

# varnik_embed_translations(TARGET): the compiled translations as resources
# of TARGET, under :/translations/.
function(varnik_embed_translations target)
  set(compiled)
  foreach(ts ${VARNIK_TRANSLATION_SOURCES})
    get_filename_component(stem ${ts} NAME_WE)
    set(qm ${CMAKE_CURRENT_BINARY_DIR}/${stem}.qm)
    add_custom_command(OUTPUT ${qm} COMMAND ${VARNIK_LRELEASE} -silent ${ts} -qm ${qm} DEPENDS ${ts} VERBATIM)
    list(APPEND compiled ${qm})
  endforeach()
  qt_add_resources(${target} varnik_translations PREFIX /translations BASE ${CMAKE_CURRENT_BINARY_DIR}
                   FILES ${compiled})
endfunction()

# `cmake --build build --target varnik_update_translations` takes the texts of
# the windows into the .ts files after the code changed. Besides Qt's own
# marks it reads the map editor's AddButton, which translates its caption
# (the first argument), as tr, and VARNIK_TEXT as QT_TRANSLATE_NOOP.
if(VARNIK_LUPDATE)
  add_custom_target(varnik_update_translations
    COMMAND ${VARNIK_LUPDATE} -silent -locations none -no-obsolete -I ${PROJECT_SOURCE_DIR}
            -tr-function-alias tr+=AddButton,QT_TRANSLATE_NOOP+=VARNIK_TEXT
            ${PROJECT_SOURCE_DIR}/editor ${PROJECT_SOURCE_DIR}/veceditor ${PROJECT_SOURCE_DIR}/export/gui
            ${PROJECT_SOURCE_DIR}/platform/gui
            -ts ${VARNIK_TRANSLATION_SOURCES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)
endif()
