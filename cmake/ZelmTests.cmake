# zelm_test(NAME SOURCES ... LIBS ... [LANCEUR command...])
# One GoogleTest program; each of its tests becomes a ctest test, run (and listed) by
# the LANCEUR command when there is one. Qt tests never
# need a display: the offscreen platform is set here, whatever the caller's
# environment says. Each test is labelled with its program, so that a run can
# keep to the programs it built.
function(zelm_test nom)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LANCEUR" ${ARGN})
  add_executable(${nom} ${T_SOURCES})
  if(T_LANCEUR)
    set_target_properties(${nom} PROPERTIES CROSSCOMPILING_EMULATOR "${T_LANCEUR}")
  endif()
  target_link_libraries(${nom} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(NOT "GTest::gtest_main" IN_LIST T_LIBS AND NOT "GTest::gmock_main" IN_LIST T_LIBS)
    # a program without its own main() gets GoogleTest's
    get_target_property(_srcs ${nom} SOURCES)
    list(FILTER _srcs INCLUDE REGEX "main\\.cpp$")
    if(NOT _srcs)
      target_link_libraries(${nom} PRIVATE GTest::gtest_main)
    endif()
  endif()
  gtest_discover_tests(${nom}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    # one variable per property: discovery splits a list value into name-value pairs
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen
               ENVIRONMENT_MODIFICATION LC_ALL=set:C.UTF-8
               TIMEOUT 300 LABELS ${nom})
endfunction()
