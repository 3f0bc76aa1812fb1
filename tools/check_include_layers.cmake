# Checks that the source folders stay layered: a file includes only from its own folder and
# from folders below it, never from a folder above it or beside it. Run as
#   cmake -DSOURCE_DIR=<src> -P check_include_layers.cmake
# It fails, naming each offending line, when a folder reaches up or sideways, or when a source
# file lies in a folder the list does not know.

# From the bottom up. Folders joined by a comma are side by side: neither includes the other.
set(layers
  platform
  imaging
  journal
  certificate
  page
  platform/desktop
  "windows/about,windows/editor,windows/print"
  windows/journal
  app)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

# Each folder's level, as LEVEL_<folder>.
set(level 0)
foreach(layer IN LISTS layers)
  string(REPLACE "," ";" siblings "${layer}")
  foreach(folder IN LISTS siblings)
    set(LEVEL_${folder} ${level})
  endforeach()
  math(EXPR level "${level} + 1")
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT sources)
set(faults "")
set(checked 0)
foreach(source IN LISTS sources)
  get_filename_component(from "${source}" DIRECTORY)
  if(NOT DEFINED LEVEL_${from})
    list(APPEND faults "${source}: the folder ${from} has no place in the layers")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" included "${line}")
    math(EXPR checked "${checked} + 1")
    get_filename_component(to "${included}" DIRECTORY)
    if(to STREQUAL "")
      # A file of the same folder, or one the build makes (moc).
      continue()
    endif()
    if(NOT DEFINED LEVEL_${to})
      list(APPEND faults "${source}: includes ${included}, from no known folder")
    elseif(NOT to STREQUAL from AND NOT LEVEL_${to} LESS LEVEL_${from})
      if(LEVEL_${to} EQUAL LEVEL_${from})
        list(APPEND faults "${source}: includes ${included}, from ${to} beside ${from}")
      else()
        list(APPEND faults "${source}: includes ${included}, from ${to} above ${from}")
      endif()
    endif()
  endforeach()
endforeach()

list(LENGTH sources files)
if(files EQUAL 0 OR checked EQUAL 0)
  message(FATAL_ERROR "No sources or no includes found under ${SOURCE_DIR}")
endif()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Folders out of their layers:\n${text}")
endif()
message(STATUS "${files} files, ${checked} includes: every folder includes only from below")
