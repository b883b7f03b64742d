# The interface translations: translations/wex-browser_<lang>.ts compiled by
# lrelease into ":/i18n/wex-browser_<lang>.qm" inside a target's resources.
#
# Debian 12 ships lrelease in qt6-l10n-tools; the Qt6LinguistTools CMake
# package lives in qt6-tools-dev, which would pull in Designer, Assistant and
# Linguist, so lrelease is run directly here.
option(WEX_TRANSLATIONS "Compile the interface translations (needs lrelease from qt6-l10n-tools)" ON)

if(WEX_TRANSLATIONS)
  find_program(WEX_LRELEASE NAMES lrelease lrelease-qt6
    HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" /usr/lib/qt6/bin)
  # lupdate, beside it, checks that the translation files are complete.
  find_program(WEX_LUPDATE NAMES lupdate lupdate-qt6
    HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" /usr/lib/qt6/bin)
  if(NOT WEX_LRELEASE OR NOT WEX_LUPDATE)
    message(FATAL_ERROR "lrelease or lupdate not found: install qt6-l10n-tools (scripts/install-deps.sh), "
                        "or configure with -DWEX_TRANSLATIONS=OFF for an English-only build")
  endif()
endif()

# Unfinished entries are left out: an unreviewed text never reaches the
# interface, the English source shows instead.
function(wex_add_translations target)
  if(NOT WEX_TRANSLATIONS)
    return()
  endif()
  set(qm_files)
  foreach(ts ${ARGN})
    get_filename_component(name "${ts}" NAME_WE)
    set(qm "${CMAKE_CURRENT_BINARY_DIR}/i18n/${name}.qm")
    add_custom_command(OUTPUT "${qm}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/i18n"
      COMMAND "${WEX_LRELEASE}" -silent -nounfinished "${ts}" -qm "${qm}"
      DEPENDS "${ts}"
      COMMENT "Compiling ${name}.qm"
      VERBATIM)
    list(APPEND qm_files "${qm}")
  endforeach()
  qt_add_resources(${target} wex_translations
    PREFIX /i18n
    BASE "${CMAKE_CURRENT_BINARY_DIR}/i18n"
    FILES ${qm_files})
  target_compile_definitions(${target} PRIVATE WEX_HAVE_TRANSLATIONS)
endfunction()
