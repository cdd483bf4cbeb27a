# The Windows program, cross-built by windows/CMakeLists.txt: the same
# sources, with Allegro and FreeType linked in statically from the prefix
# that build made, and no MinGW runtime DLL beside it.

# Stands in for the pkg-config target of the Linux build, so the game's
# targets are declared once for both.
macro(clockmaze_windows_allegro)
  set(lib ${CLOCKMAZE_WINDOWS_DEPS}/lib)
  # The game's files sit beside the program; nothing is installed elsewhere.
  set(CLOCKMAZE_INSTALLED_ASSETS "")
  add_library(PkgConfig::ALLEGRO INTERFACE IMPORTED)
  set_target_properties(PkgConfig::ALLEGRO PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${CLOCKMAZE_WINDOWS_DEPS}/include
    INTERFACE_COMPILE_DEFINITIONS ALLEGRO_STATICLINK
    # Addons before the core, FreeType after the TTF addon, then the system
    # libraries they call.
    INTERFACE_LINK_LIBRARIES "${lib}/liballegro_dialog-static.a;${lib}/liballegro_ttf-static.a;${lib}/liballegro_font-static.a;\
${lib}/liballegro_acodec-static.a;${lib}/liballegro_audio-static.a;${lib}/liballegro_image-static.a;\
${lib}/liballegro_primitives-static.a;${lib}/liballegro-static.a;${lib}/libfreetype.a;\
dsound;gdiplus;uuid;user32;gdi32;comdlg32;comctl32;ole32;winmm;kernel32;psapi;shlwapi;shell32;d3d9;dinput8;\
opengl32;glu32")
  # No build path in the binary, no link time in its header: the same
  # sources give the same program wherever they are built.
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
  add_link_options(-static -s -Wl,--no-insert-timestamp)
endmacro()

# The icon, version information and manifest, and the zip and installer:
# `cmake --build . --target windows-release`.
macro(clockmaze_windows_release)
  string(REPLACE "." ";" parts "${PROJECT_VERSION}.0.0.0")
  list(SUBLIST parts 0 4 parts)
  string(REPLACE ";" "," CLOCKMAZE_VERSION_COMMAS "${parts}")
  string(REPLACE ";" "." CLOCKMAZE_VERSION_DOTS "${parts}")
  set(windist ${PROJECT_SOURCE_DIR}/dist/windows)
  configure_file(${windist}/clockmaze.manifest.in ${CMAKE_CURRENT_BINARY_DIR}/clockmaze.manifest @ONLY)
  configure_file(${windist}/clockmaze.rc.in ${CMAKE_CURRENT_BINARY_DIR}/clockmaze.rc @ONLY)
  enable_language(RC)
  target_sources(clockmaze PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/clockmaze.rc)
  set_target_properties(clockmaze PROPERTIES WIN32_EXECUTABLE ON)

  set(name clockmaze-${PROJECT_VERSION}-win64)
  set(zip ${CLOCKMAZE_RELEASE_DIR}/${name}.zip)
  set(setup ${CLOCKMAZE_RELEASE_DIR}/${name}-setup.exe)
  add_custom_command(OUTPUT ${zip} ${setup}
    COMMAND ${CMAKE_COMMAND}
      -DEXE=$<TARGET_FILE:clockmaze>
      -DNAME=${name}
      -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/stage/${name}
      -DASSETS=${CLOCKMAZE_ASSET_DIR}
      -DICON=${CLOCKMAZE_ICON}
      -DALLEGRO_LICENCE=${CLOCKMAZE_ALLEGRO_LICENCE}
      -DFREETYPE_LICENCE=${CLOCKMAZE_FREETYPE_LICENCE}
      -DWINDIST=${windist}
      -DVERSION=${PROJECT_VERSION}
      -DVERSION_DOTS=${CLOCKMAZE_VERSION_DOTS}
      -DRELEASE_DATE=${CLOCKMAZE_RELEASE_DATE}
      -DZIP=${zip}
      -DSETUP=${setup}
      -P ${windist}/release.cmake
    DEPENDS clockmaze ${windist}/release.cmake ${windist}/installer.nsi.in
      ${windist}/README.txt.in ${windist}/LICENCE.txt ${CLOCKMAZE_ASSET_DIR}
    COMMENT "Packing ${name}.zip and ${name}-setup.exe"
    VERBATIM)
  add_custom_target(windows-release ALL DEPENDS ${zip} ${setup})
endmacro()
