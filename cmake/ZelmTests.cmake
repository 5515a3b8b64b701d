# zelm_test(NAME SOURCES ... LIBS ...)
# One GoogleTest program; each of its tests becomes a ctest test. Qt tests never
# need a display: the offscreen platform is set here, whatever the caller's
# environment says.
function(zelm_test nom)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${nom} ${T_SOURCES})
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
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 300)
endfunction()
