# Lays out the site folder a web host serves as it is, and packs it into a
# zip that comes out byte for byte the same from the same sources: the files
# go in, in sorted order, with the release date as their time. Run by the
# web-release target (cmake -P).
file(REMOVE_RECURSE ${SITE} ${STAGE})
get_filename_component(dir ${PROGRAM} DIRECTORY)
get_filename_component(base ${PROGRAM} NAME_WE)
set(readable FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(COPY ${WEBDIST}/index.html ${dir}/${base}.js ${dir}/${base}.wasm ${dir}/${base}.data
  DESTINATION ${SITE} ${readable})
# The loader names its data package by a random UUID at every link, only to
# key a browser cache this page does not use: it is named by its content.
file(SHA256 ${SITE}/${base}.data digest)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*" "\\1-\\2-\\3-\\4-\\5" uuid ${digest})
file(READ ${SITE}/${base}.js loader)
string(REGEX REPLACE "\"package_uuid\":\"[0-9a-f-]+\"" "\"package_uuid\":\"${uuid}\"" loader "${loader}")
file(WRITE ${SITE}/${base}.js "${loader}")
configure_file(${ICON} ${SITE}/icon.png COPYONLY)
configure_file(${LICENCE} ${SITE}/LICENCE.txt COPYONLY)
# Every library linked into the program, with its licence.
string(REPLACE "|" ";" sources "${LIBRARY_SOURCES}")
set(texts zlib.txt:LICENSE libpng.txt:LICENSE freetype.txt:docs/FTL.TXT sdl.txt:LICENSE.txt
  allegro.txt:LICENSE.txt)
foreach(source text IN ZIP_LISTS sources texts)
  string(REPLACE ":" ";" parts ${text})
  list(GET parts 0 name)
  list(GET parts 1 file)
  configure_file(${source}/${file} ${SITE}/licences/${name} COPYONLY)
endforeach()
configure_file(${ASSETS}/arialbd-LICENCE.txt ${SITE}/licences/liberation-fonts.txt COPYONLY)

file(COPY ${SITE}/ DESTINATION ${STAGE}/${NAME})
file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/${NAME}/*)
list(SORT files)
file(REMOVE ${ZIP})
# zip -X leaves out the owner and the access times, which would differ from
# one build to the next; DOS times are local, hence UTC.
execute_process(COMMAND touch -d "${RELEASE_DATE} 12:00:00 UTC" ${files}
  WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -D -q -9 ${ZIP} ${files}
  WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
