# Fails when a source includes a folder its own folder may not see.
#
#   cmake -DSOURCE_DIR=<tree> -DLAYERS=core,richtext,... \
#         [-DSIDES=check:core+richtext] [-DSTAMP=<file>] -P checklayers.cmake
#
# LAYERS is the order bottom up: a folder of it includes itself and the
# folders before it. SIDES names folders beside the order (separated by
# commas), each with the folders it includes besides itself (joined by "+").
# Any other folder of the tree (tests, tools, fuzz) is on top: it is not
# checked, and nothing checked may include it. Both #include "x/..." and
# #include <x/...> count when x is a folder of the tree.
cmake_minimum_required(VERSION 3.22)

if(NOT SOURCE_DIR OR NOT LAYERS)
  message(FATAL_ERROR "checklayers: SOURCE_DIR and LAYERS are required")
endif()

string(REPLACE "," ";" layers "${LAYERS}")
set(sides "")
if(SIDES)
  string(REPLACE "," ";" sides "${SIDES}")
endif()

# allowed_<folder>: the folders <folder> may include, itself among them.
set(checked "")
set(below "")
foreach(layer IN LISTS layers)
  list(APPEND below ${layer})
  set(allowed_${layer} ${below})
  list(APPEND checked ${layer})
endforeach()
foreach(side IN LISTS sides)
  if(NOT side MATCHES "^([A-Za-z0-9_]+):(.*)$")
    message(FATAL_ERROR "checklayers: bad side folder rule '${side}'")
  endif()
  set(name ${CMAKE_MATCH_1})
  string(REPLACE "+" ";" over "${CMAKE_MATCH_2}")
  set(allowed_${name} ${name} ${over})
  list(APPEND checked ${name})
endforeach()

file(GLOB entries LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(folders "")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY ${SOURCE_DIR}/${entry} AND NOT entry MATCHES "^\\.")
    list(APPEND folders ${entry})
  endif()
endforeach()

set(faults 0)
foreach(folder IN LISTS checked)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  list(SORT sources)
  string(REPLACE ";" "/, " shown "${allowed_${folder}}")
  foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][A-Za-z0-9_]+/")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "include[ \t]*[\"<](([A-Za-z0-9_]+)/[^\">]*)")
        continue()
      endif()
      set(target ${CMAKE_MATCH_2})
      set(path ${CMAKE_MATCH_1})
      if(NOT target IN_LIST folders OR target IN_LIST allowed_${folder})
        continue()
      endif()
      message(SEND_ERROR "${source} includes ${path}: ${folder}/ may include only ${shown}/")
      math(EXPR faults "${faults} + 1")
    endforeach()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "checklayers: ${faults} include(s) against the layer order, bottom up: ${LAYERS}")
endif()
if(STAMP)
  file(WRITE ${STAMP} "${LAYERS}\n${SIDES}\n")
endif()
