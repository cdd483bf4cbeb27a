# Lays out the Windows release folder and packs it twice: as a zip, and as
# an installer made by NSIS. Run by the windows-release target (cmake -P).
# The zip comes out byte for byte the same from the same sources: the files
# go in, in sorted order, with the release date as their time.
set(PROJECT_VERSION ${VERSION})
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/licences)
file(COPY ${EXE} DESTINATION ${STAGE}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The game finds its files in "assets" beside the program, from any folder.
file(COPY ${ASSETS}/ DESTINATION ${STAGE}/assets FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
configure_file(${WINDIST}/README.txt.in ${STAGE}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${WINDIST}/LICENCE.txt ${STAGE}/LICENCE.txt COPYONLY)
configure_file(${ALLEGRO_LICENCE} ${STAGE}/licences/allegro.txt COPYONLY)
configure_file(${FREETYPE_LICENCE} ${STAGE}/licences/freetype.txt COPYONLY)
configure_file(${ASSETS}/arialbd-LICENCE.txt ${STAGE}/licences/liberation-fonts.txt COPYONLY)
# Notepad and the installer's licence page read Windows line ends.
foreach(text LICENCE.txt licences/allegro.txt licences/freetype.txt licences/liberation-fonts.txt)
  configure_file(${STAGE}/${text} ${STAGE}/${text} @ONLY NEWLINE_STYLE CRLF)
endforeach()
file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)

get_filename_component(parent ${STAGE} DIRECTORY)
set(entries "")
foreach(f ${files})
  list(APPEND entries ${NAME}/${f})
endforeach()
get_filename_component(out ${ZIP} DIRECTORY)
file(MAKE_DIRECTORY ${out})
file(REMOVE ${ZIP})
# zip -X leaves out the owner and the access times, which would differ from
# one build to the next; DOS times are local, hence UTC.
execute_process(COMMAND touch -d "${RELEASE_DATE} 12:00:00 UTC" ${entries}
  WORKING_DIRECTORY ${parent} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -D -q -9 ${ZIP} ${entries}
  WORKING_DIRECTORY ${parent} COMMAND_ERROR_IS_FATAL ANY)

# The uninstaller removes the installed files by name, deepest folders first.
set(total 0)
set(deletes "")
set(dirs "")
foreach(f ${files})
  file(SIZE ${STAGE}/${f} size)
  math(EXPR total "${total} + ${size}")
  string(REPLACE "/" "\\" winpath "${f}")
  string(APPEND deletes "  Delete \"$INSTDIR\\${winpath}\"\n")
  get_filename_component(dir ${f} DIRECTORY)
  while(dir)
    list(APPEND dirs ${dir})
    get_filename_component(dir ${dir} DIRECTORY)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES dirs)
list(SORT dirs)
list(REVERSE dirs)
set(rmdirs "")
foreach(dir ${dirs})
  string(REPLACE "/" "\\" windir "${dir}")
  string(APPEND rmdirs "  RMDir \"$INSTDIR\\${windir}\"\n")
endforeach()
math(EXPR CLOCKMAZE_SIZE_KB "(${total} + 1023) / 1024")
set(CLOCKMAZE_UNINSTALL_FILES "${deletes}")
set(CLOCKMAZE_UNINSTALL_DIRS "${rmdirs}")
set(CLOCKMAZE_STAGE ${STAGE})
set(CLOCKMAZE_ICON ${ICON})
set(CLOCKMAZE_SETUP ${SETUP})
set(CLOCKMAZE_VERSION_DOTS ${VERSION_DOTS})
set(nsi ${parent}/installer.nsi)
configure_file(${WINDIST}/installer.nsi.in ${nsi} @ONLY)
find_program(MAKENSIS makensis REQUIRED)
execute_process(COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 ${nsi}
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "makensis failed on ${nsi}")
endif()
