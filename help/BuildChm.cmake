# Compiles one help file with chmcmd (Debian package fp-utils):
#   cmake -DCHMCMD=<chmcmd> -DPROJECT=<help/Name/Name.hhp> -DSHARED=<help/shared>
#         -DPICTURES=<docs/pictures> -DSTAGE=<empty folder> -DOUTPUT=<Name.chm>
#         [-DCONTEXTS=<file>] -P BuildChm.cmake
# With CONTEXTS, it also writes the project's help contexts there, one "number name topic" a
# line, for the check of the file it built (HelpProject.cmake reads the project).
#
# The project names its files as they are written: beside it, in the shared folder, or as
# pictures/<file> from the README's pictures. They are copied into the stage and compiled there.
#
# chmcmd 3.2.2 records the topic of each help context as the project's folder followed by the
# file's name ("/home/me/help/intro.htm") while it stores the file itself as "/intro.htm", so
# the viewer would find no topic for any context. The project is therefore compiled as
# /proc/self/cwd/Name.hhp from the stage (chmcmd's own working folder), where proc/self/cwd
# links back to the stage itself: every file is stored under that prefix, the contents and
# the default topic point there, and so does each context ("/proc/self/cwd/intro.htm"). The
# topics that carry a context are listed once more under their plain names, only for chmcmd
# to hang the context on.
cmake_minimum_required(VERSION 3.21)

foreach(variable CHMCMD PROJECT SHARED PICTURES STAGE OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "BuildChm.cmake needs -D${variable}=...")
  endif()
endforeach()

set(prefix "proc/self/cwd/")
get_filename_component(project_folder "${PROJECT}" DIRECTORY)
get_filename_component(project_name "${PROJECT}" NAME)

file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/proc/self")
file(CREATE_LINK "../.." "${STAGE}/proc/self/cwd" SYMBOLIC)

# Where a file the project names comes from.
function(source_of file result)
  if(EXISTS "${project_folder}/${file}")
    set(${result} "${project_folder}/${file}" PARENT_SCOPE)
  elseif(EXISTS "${SHARED}/${file}")
    set(${result} "${SHARED}/${file}" PARENT_SCOPE)
  elseif(file MATCHES "^pictures/(.+)$" AND EXISTS "${PICTURES}/${CMAKE_MATCH_1}")
    set(${result} "${PICTURES}/${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    message(FATAL_ERROR "${project_name} names ${file}, which is neither in ${project_folder}, in ${SHARED} "
                        "nor among the pictures in ${PICTURES}")
  endif()
endfunction()

include("${CMAKE_CURRENT_LIST_DIR}/HelpProject.cmake")
help_project_read("${PROJECT}" project)
if(DEFINED CONTEXTS)
  help_project_write_contexts(project "${CONTEXTS}")
endif()

set(options "")
set(contents "")
set(compiled "")
foreach(line IN LISTS project_OPTIONS)
  if(line MATCHES "^Default topic=(.+)$")
    set(line "Default topic=${prefix}${CMAKE_MATCH_1}")
  elseif(line MATCHES "^Contents file=(.+)$")
    set(contents "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^Compiled file=(.+)$")
    set(compiled "${CMAKE_MATCH_1}")
  endif()
  string(APPEND options "${line}\n")
endforeach()
set(files "")
foreach(file IN LISTS project_FILES)
  source_of("${file}" source)
  get_filename_component(folder "${STAGE}/${file}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${source}" "${STAGE}/${file}")
  string(APPEND files "${prefix}${file}\n")
endforeach()
# chmcmd is given each context as a #define of its own, whatever the project includes.
set(aliases "")
set(map "")
foreach(alias number topic IN ZIP_LISTS project_NAMES project_CONTEXTS project_TOPICS)
  string(APPEND aliases "${alias}=${topic}\n")
  string(APPEND files "${topic}\n")
  string(APPEND map "#define ${alias} ${number}\n")
endforeach()
if(contents STREQUAL "" OR compiled STREQUAL "")
  message(FATAL_ERROR "${project_name} names no contents file or no compiled file")
endif()

# The contents point at the stored topics.
file(READ "${project_folder}/${contents}" toc)
string(REGEX REPLACE "(name=\"Local\" value=\")" "\\1${prefix}" toc "${toc}")
file(WRITE "${STAGE}/${contents}" "${toc}")

file(WRITE "${STAGE}/${project_name}"
     "[OPTIONS]\n${options}\n[FILES]\n${files}\n[ALIAS]\n${aliases}\n[MAP]\n${map}")

execute_process(COMMAND "${CHMCMD}" --no-html-scan "/${prefix}${project_name}"
                WORKING_DIRECTORY "${STAGE}"
                RESULT_VARIABLE result
                OUTPUT_VARIABLE said
                ERROR_VARIABLE said)
# chmcmd ends with 0 after most of its complaints; what it says and what it wrote decide.
string(REGEX MATCHALL "(Error|Warning|exception)[^\n]*" complaints "${said}")
if(NOT result EQUAL 0 OR complaints OR NOT EXISTS "${STAGE}/${compiled}")
  message(FATAL_ERROR "chmcmd could not compile ${project_name} (exit ${result}):\n${said}")
endif()
file(SIZE "${STAGE}/${compiled}" size)
if(size EQUAL 0)
  message(FATAL_ERROR "chmcmd wrote an empty ${compiled}:\n${said}")
endif()
file(COPY_FILE "${STAGE}/${compiled}" "${OUTPUT}")
