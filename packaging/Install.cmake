# What an installation holds: the program, its built-in pictures, the desktop entry with the
# icon, and the documents a Debian package must carry. Nothing here is ever installed into the
# program folder beside the executable except the executable itself, so installing again never
# touches the operator's journal, "Autoload", "Shrift" or own stamp and signature.

install(TARGETS trelvax RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The sample stamp and signature: copied from here into a new program folder once, with its
# first journal; the program itself reads the pictures of its program folder alone.
if(TRELVAX_SAMPLE_PICTURES)
  install(FILES ${TRELVAX_SAMPLE_PICTURES} DESTINATION ${TRELVAX_INSTALL_SHAREDIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/trelvax.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon as drawn, and as pictures for the desktops that read no SVG icons.
install(FILES ${PROJECT_SOURCE_DIR}/assets/trelvax.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
add_executable(trelvax_render_icon ${PROJECT_SOURCE_DIR}/packaging/render_icon.cpp)
target_link_libraries(trelvax_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(_trelvax_icons)
foreach(size 16 24 32 48 64 128 256)
  set(_png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/trelvax.png)
  add_custom_command(OUTPUT ${_png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
    # A sanitizer build of the renderer must not fail the build over Qt's one-time allocations.
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:trelvax_render_icon> ${PROJECT_SOURCE_DIR}/assets/trelvax.svg ${_png} ${size}
    DEPENDS trelvax_render_icon ${PROJECT_SOURCE_DIR}/assets/trelvax.svg
    VERBATIM)
  install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  list(APPEND _trelvax_icons ${_png})
endforeach()
add_custom_target(trelvax_icons ALL DEPENDS ${_trelvax_icons})

# Debian keeps manual pages and changelogs compressed, without a time stamp in the archive.
set(_trelvax_docs ${CMAKE_CURRENT_BINARY_DIR}/docs)
add_custom_command(OUTPUT ${_trelvax_docs}/trelvax.1.gz ${_trelvax_docs}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_trelvax_docs}
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/trelvax.1 > ${_trelvax_docs}/trelvax.1.gz
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${_trelvax_docs}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/trelvax.1 ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(trelvax_docs ALL
  DEPENDS ${_trelvax_docs}/trelvax.1.gz ${_trelvax_docs}/changelog.gz)
install(FILES ${_trelvax_docs}/trelvax.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_trelvax_docs}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/trelvax)

# For the tests of the installation and the package.
set_property(GLOBAL PROPERTY TRELVAX_INSTALLED_SAMPLES "${TRELVAX_SAMPLE_PICTURES}")
