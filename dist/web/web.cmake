# The browser program, built by web/CMakeLists.txt with emscripten: the same
# sources, with Allegro and the libraries under it linked in statically from
# the prefix that build made, and the asset folder packed beside it.

# Stands in for the pkg-config target of the Linux build, so the game's
# targets are declared once for every platform.
macro(clockmaze_web_allegro)
  set(lib ${CLOCKMAZE_WEB_DEPS}/lib)
  set(CLOCKMAZE_INSTALLED_ASSETS "") # nothing is installed: the files are at the root
  add_library(PkgConfig::ALLEGRO INTERFACE IMPORTED)
  set_target_properties(PkgConfig::ALLEGRO PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${CLOCKMAZE_WEB_DEPS}/include
    INTERFACE_COMPILE_DEFINITIONS ALLEGRO_STATICLINK
    # Addons before the core, then what they stand on.
    INTERFACE_LINK_LIBRARIES "${lib}/liballegro_ttf-static.a;${lib}/liballegro_font-static.a;\
${lib}/liballegro_acodec-static.a;${lib}/liballegro_audio-static.a;${lib}/liballegro_image-static.a;\
${lib}/liballegro_primitives-static.a;${lib}/liballegro_main-static.a;${lib}/liballegro-static.a;\
${lib}/libSDL2.a;${lib}/libfreetype.a;${lib}/libpng16.a;${lib}/libz.a")
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
  # Emscripten's optimiser needs Debian's acorn at every link.
  set(CLOCKMAZE_NODE_PATH /usr/share/nodejs CACHE PATH "Where node finds Debian's acorn")
  set_property(GLOBAL PROPERTY RULE_LAUNCH_LINK
    "${CMAKE_COMMAND} -E env NODE_PATH=${CLOCKMAZE_NODE_PATH}")
endmacro()

# The link into clockmaze.js, .wasm and .data, and the site folder and its
# zip: `cmake --build . --target web-release`.
macro(clockmaze_web_release)
  set(webdist ${PROJECT_SOURCE_DIR}/dist/web)
  target_sources(clockmaze PRIVATE ${webdist}/message_box.cpp)
  # Written to a file, as its dollar signs and quotes would not survive a
  # shell: the loop blocks in al_wait_for_event, hence ASYNCIFY; SDL's audio
  # resumes the browser's audio on the first gesture through
  # autoResumeAudioContext, which emscripten's own SDL port pulls in and a
  # plain link leaves out.
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/library_funcs.json "[\"$autoResumeAudioContext\", \"$dynCall\"]")
  # The page hears of the program's end through addOnExit: a main that has
  # waited for events ends in the exit handlers, past Module.onExit.
  set(link_options
    -sASYNCIFY -sALLOW_MEMORY_GROWTH=1 -sFULL_ES2=1 -sEXIT_RUNTIME=1
    -sEXPORTED_RUNTIME_METHODS=addOnExit
    -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_CURRENT_BINARY_DIR}/library_funcs.json)
  # The asset folder is packed file by file, in sorted order: a folder would
  # go in in the order the file system lists it, which differs between two
  # clones.
  file(GLOB_RECURSE shipped RELATIVE ${CLOCKMAZE_ASSET_DIR} CONFIGURE_DEPENDS ${CLOCKMAZE_ASSET_DIR}/*)
  list(SORT shipped)
  set(preload "")
  foreach(f ${shipped})
    list(APPEND preload "SHELL:--preload-file \"${CLOCKMAZE_ASSET_DIR}/${f}@/${f}\"")
    set_property(TARGET clockmaze APPEND PROPERTY LINK_DEPENDS ${CLOCKMAZE_ASSET_DIR}/${f})
  endforeach()
  target_link_options(clockmaze PRIVATE ${link_options} ${preload})

  # The library's own floor for the benchmark, built the same way and served
  # by the same page: `cmake --build . --target baseline-site`.
  add_executable(baseline EXCLUDE_FROM_ALL bench/baseline.cpp)
  target_link_libraries(baseline PRIVATE PkgConfig::ALLEGRO)
  target_link_options(baseline PRIVATE ${link_options})
  set(bench_site ${CMAKE_CURRENT_BINARY_DIR}/baseline-site)
  add_custom_command(OUTPUT ${bench_site}/index.html
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bench_site}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:baseline> $<TARGET_FILE_DIR:baseline>/baseline.wasm
      ${bench_site}
    # Its arguments come from the address: baseline-site/?picture,every=10.
    COMMAND sed -e s/clockmaze.js/baseline.js/
      -e "s/var Module = {/var Module = {arguments: location.search.slice(1).split(',').filter(String),/"
      ${webdist}/index.html > ${bench_site}/index.html
    DEPENDS baseline ${webdist}/index.html
    VERBATIM)
  add_custom_target(baseline-site DEPENDS ${bench_site}/index.html)

  set(name clockmaze-${PROJECT_VERSION}-web)
  set(zip ${CLOCKMAZE_RELEASE_DIR}/${name}.zip)
  set(site ${CLOCKMAZE_RELEASE_DIR}/site)
  add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND}
      -DPROGRAM=$<TARGET_FILE:clockmaze>
      -DNAME=${name}
      -DSITE=${site}
      -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/stage
      -DICON=${CLOCKMAZE_ICON}
      -DASSETS=${CLOCKMAZE_ASSET_DIR}
      -DLIBRARY_SOURCES=${CLOCKMAZE_LIBRARY_SOURCES}
      -DWEBDIST=${webdist}
      -DLICENCE=${PROJECT_SOURCE_DIR}/dist/windows/LICENCE.txt
      -DRELEASE_DATE=${CLOCKMAZE_RELEASE_DATE}
      -DZIP=${zip}
      -P ${webdist}/release.cmake
    DEPENDS clockmaze ${webdist}/release.cmake ${webdist}/index.html ${CLOCKMAZE_ICON}
    COMMENT "Laying out the site and packing ${name}.zip"
    VERBATIM)
  add_custom_target(web-release ALL DEPENDS ${zip})
endmacro()
