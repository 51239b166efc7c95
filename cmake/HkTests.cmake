# hk_add_wine_test(<name> SOURCES ... [GROUPS xp vista win7] [WINDOWS] [NEEDS_PROGRAM] [USER_DATA] [LIBS ...])
#
# Builds tests/<name>.exe (GoogleTest) and adds one ctest entry per group, named <name>.<group>
# (or just <name> with the default single group win7). Every entry runs under Wine through
# tests/run-test.sh, in the group's prefix of this test run (Windows XP, Vista or 7), from its
# own folder under C:\tests, which is the test's program folder. HK_TEST_GROUP tells the test
# its group.
#   WINDOWS        link the window resources (manifest, pictures, banner)
#   NEEDS_PROGRAM  the built program folder (exe and language\) is copied beside the test as app\
#   USER_DATA      the test seeds or reads the user's data in its prefix (special folders, HKCU,
#                  fonts...): such tests of one prefix run one at a time
set(HK_TEST_RUNNER "${CMAKE_SOURCE_DIR}/tests/run-test.sh")
set(HK_PREFIX_ROOT "${CMAKE_BINARY_DIR}/prefixes" CACHE PATH "Where the test run's Wine prefixes live")

function(hk_add_wine_test name)
  cmake_parse_arguments(T "WINDOWS;NEEDS_PROGRAM;USER_DATA" "" "SOURCES;GROUPS;LIBS" ${ARGN})
  if(NOT T_GROUPS)
    set(T_GROUPS win7)
    set(single TRUE)
  endif()
  set(sources ${T_SOURCES})
  if(T_WINDOWS)
    list(APPEND sources $<TARGET_OBJECTS:hkres>)
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE hkcore hktestsupport GTest::gtest ${T_LIBS})
  target_compile_options(${name} PRIVATE ${HK_WARNINGS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  set(program "")
  if(T_NEEDS_PROGRAM)
    add_dependencies(${name} Halvorkeep3)
    set(program "${CMAKE_BINARY_DIR}/program")
  endif()
  foreach(group IN LISTS T_GROUPS)
    if(single)
      set(entry ${name})
    else()
      set(entry ${name}.${group})
    endif()
    add_test(NAME ${entry}
             COMMAND bash "${HK_TEST_RUNNER}" "${HK_PREFIX_ROOT}" ${group} ${entry}
                     $<TARGET_FILE:${name}> "${program}")
    set_tests_properties(${entry} PROPERTIES LABELS ${group})
    if(T_USER_DATA)
      set_tests_properties(${entry} PROPERTIES RESOURCE_LOCK userdata.${group})
    endif()
  endforeach()
endfunction()
