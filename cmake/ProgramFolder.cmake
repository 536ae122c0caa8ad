# Everything the program finds relative to its own folder is copied into the program folder of
# the build (build/bin) and installed as one folder under the prefix, with links to the programs
# in <prefix>/bin: config.ini, the language files, the report templates and the help pages.
include(GNUInstallDirs)
set(FORGE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/norvessa-image-forge)

set(FORGE_REPORT_TEMPLATES
  byte-backup.html
  iso-extractor.html
  iso-creator.html
  iso-burner.html)

file(GLOB FORGE_LANGUAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Languages/*.ini)
file(GLOB_RECURSE FORGE_HELP_FILES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/Help
  ${CMAKE_SOURCE_DIR}/Help/*)

set(_forge_folder_outputs)
function(_forge_copy_into_program_folder source relative)
  set(out ${FORGE_PROGRAM_DIR}/${relative})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${out}
    DEPENDS ${source}
    COMMENT "Program folder: ${relative}" VERBATIM)
  set(_forge_folder_outputs ${_forge_folder_outputs} ${out} PARENT_SCOPE)
endfunction()

_forge_copy_into_program_folder(${CMAKE_SOURCE_DIR}/config.ini config.ini)
foreach(lang ${FORGE_LANGUAGE_FILES})
  get_filename_component(name ${lang} NAME)
  _forge_copy_into_program_folder(${lang} Languages/${name})
endforeach()
foreach(tpl ${FORGE_REPORT_TEMPLATES})
  _forge_copy_into_program_folder(${CMAKE_SOURCE_DIR}/ReportTheme/${tpl} ReportTheme/${tpl})
endforeach()
foreach(page ${FORGE_HELP_FILES})
  _forge_copy_into_program_folder(${CMAKE_SOURCE_DIR}/Help/${page} Help/${page})
endforeach()
add_custom_target(program_folder ALL DEPENDS ${_forge_folder_outputs})

install(FILES ${CMAKE_SOURCE_DIR}/config.ini DESTINATION ${FORGE_INSTALL_DIR})
install(FILES ${FORGE_LANGUAGE_FILES} DESTINATION ${FORGE_INSTALL_DIR}/Languages)
list(TRANSFORM FORGE_REPORT_TEMPLATES PREPEND ${CMAKE_SOURCE_DIR}/ReportTheme/ OUTPUT_VARIABLE _forge_tpl_paths)
install(FILES ${_forge_tpl_paths} DESTINATION ${FORGE_INSTALL_DIR}/ReportTheme)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/Help DESTINATION ${FORGE_INSTALL_DIR})

# Installs a program of the program folder and links it from <prefix>/bin.
function(forge_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${FORGE_INSTALL_DIR})
  install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"../${FORGE_INSTALL_DIR}/${target}\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\" SYMBOLIC)")
endfunction()
