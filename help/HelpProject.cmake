# The one reader of a help project (help/<Program>/<Program>.hhp), for the help build and for
# the tests that check each help context against it.
#
# The project's [MAP] section includes help/HelpContexts.h ("#include ../HelpContexts.h"),
# where the code takes the numbers from too; that header gives each context as a line
# "constexpr int Name = number;". A project may also give a context itself, as
# "#define Name number". Only the names the project's [ALIAS] section gives a topic are
# mapped: the header names the other program's contexts as well.
#
# include()d, it defines help_project_read(<project> <prefix>), which sets in the caller:
#   <prefix>_OPTIONS   the [OPTIONS] lines
#   <prefix>_FILES     the [FILES] entries
#   <prefix>_NAMES     the names the [ALIAS] section gives a topic, in its order
#   <prefix>_TOPICS    the topic of each of those names
#   <prefix>_CONTEXTS  the context number of each of those names
# (each a list).
# Run as a script, it writes the contexts, one "number name topic" a line:
#   cmake -DPROJECT=<help/Name/Name.hhp> -DCONTEXTS=<file> -P HelpProject.cmake
cmake_minimum_required(VERSION 3.21)

# The contexts a [MAP] line gives, added as "Name=number" to the caller's list named `result`.
function(help_project_map_line line folder result)
  set(found ${${result}})
  if(line MATCHES "^#define[ \t]+([A-Za-z_][A-Za-z0-9_]*)[ \t]+([0-9]+)$")
    list(APPEND found "${CMAKE_MATCH_1}=${CMAKE_MATCH_2}")
  elseif(line MATCHES "^#include[ \t]+\"?([^\"]+)\"?$")
    set(header "${folder}/${CMAKE_MATCH_1}")
    if(NOT EXISTS "${header}")
      message(FATAL_ERROR "the help project includes ${CMAKE_MATCH_1}, which is not in ${folder}")
    endif()
    file(STRINGS "${header}" header_lines REGEX "^constexpr int ")
    foreach(header_line IN LISTS header_lines)
      if(NOT header_line MATCHES "^constexpr int ([A-Za-z_][A-Za-z0-9_]*) = ([0-9]+);")
        message(FATAL_ERROR "${header}: not a help context of a plain number: ${header_line}")
      endif()
      list(APPEND found "${CMAKE_MATCH_1}=${CMAKE_MATCH_2}")
    endforeach()
  else()
    message(FATAL_ERROR "the help project's [MAP] has a line that is neither #define nor #include: ${line}")
  endif()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

function(help_project_read project prefix)
  get_filename_component(folder "${project}" DIRECTORY)
  get_filename_component(name "${project}" NAME)
  file(STRINGS "${project}" lines)
  set(section "")
  set(options "")
  set(files "")
  set(names "")
  set(topics "")
  set(numbers "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    elseif(line MATCHES "^\\[(.+)\\]$")
      string(TOUPPER "${CMAKE_MATCH_1}" section)
    elseif(section STREQUAL "OPTIONS")
      list(APPEND options "${line}")
    elseif(section STREQUAL "FILES")
      list(APPEND files "${line}")
    elseif(section STREQUAL "ALIAS")
      if(NOT line MATCHES "^([^=]+)=(.+)$")
        message(FATAL_ERROR "${name}: an [ALIAS] line that is not Name=topic: ${line}")
      endif()
      list(APPEND names "${CMAKE_MATCH_1}")
      list(APPEND topics "${CMAKE_MATCH_2}")
    elseif(section STREQUAL "MAP")
      help_project_map_line("${line}" "${folder}" numbers)
    else()
      message(FATAL_ERROR "${name}: no use for the section [${section}]")
    endif()
  endforeach()

  # Each name with a topic has one number, and no two of them the same: a context opens one
  # topic.
  set(contexts "")
  foreach(alias IN LISTS names)
    set(number "")
    foreach(entry IN LISTS numbers)
      if(entry MATCHES "^${alias}=([0-9]+)$")
        if(NOT number STREQUAL "" AND NOT number STREQUAL CMAKE_MATCH_1)
          message(FATAL_ERROR "${name}: ${alias} is given two numbers, ${number} and ${CMAKE_MATCH_1}")
        endif()
        set(number "${CMAKE_MATCH_1}")
      endif()
    endforeach()
    if(number STREQUAL "")
      message(FATAL_ERROR "${name}: ${alias} has a topic but no context number in [MAP]")
    endif()
    if(number IN_LIST contexts)
      message(FATAL_ERROR "${name}: context ${number} is given two topics (${alias} and another)")
    endif()
    list(APPEND contexts "${number}")
  endforeach()

  set(${prefix}_OPTIONS "${options}" PARENT_SCOPE)
  set(${prefix}_FILES "${files}" PARENT_SCOPE)
  set(${prefix}_NAMES "${names}" PARENT_SCOPE)
  set(${prefix}_TOPICS "${topics}" PARENT_SCOPE)
  set(${prefix}_CONTEXTS "${contexts}" PARENT_SCOPE)
endfunction()

# The contexts as a table, one "number name topic" a line, for the checks.
function(help_project_write_contexts prefix file)
  set(table "")
  foreach(alias number topic IN ZIP_LISTS ${prefix}_NAMES ${prefix}_CONTEXTS ${prefix}_TOPICS)
    string(APPEND table "${number} ${alias} ${topic}\n")
  endforeach()
  file(WRITE "${file}" "${table}")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  foreach(variable PROJECT CONTEXTS)
    if(NOT DEFINED ${variable})
      message(FATAL_ERROR "HelpProject.cmake needs -D${variable}=...")
    endif()
  endforeach()
  help_project_read("${PROJECT}" help)
  help_project_write_contexts(help "${CONTEXTS}")
endif()
