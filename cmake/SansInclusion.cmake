# cmake -DBUILD=dir -DOBJETS="a.o;b.o" -DINTERDIT=name.h -P SansInclusion.cmake
# Fails when any of the objects was compiled with INTERDIT among the headers it
# read, directly or through another header (Ninja's recorded dependencies).
find_program(NINJA ninja ninja-build REQUIRED)
foreach(objet ${OBJETS})
  execute_process(COMMAND ${NINJA} -C ${BUILD} -t deps ${objet}
                  OUTPUT_VARIABLE deps RESULT_VARIABLE r)
  if(NOT r EQUAL 0 OR NOT deps MATCHES "VALID")
    message(FATAL_ERROR "no recorded dependencies for ${objet}: build it first")
  endif()
  if(deps MATCHES "/${INTERDIT}\n")
    message(FATAL_ERROR "${objet} includes ${INTERDIT}")
  endif()
endforeach()
message(STATUS "none of ${OBJETS} includes ${INTERDIT}")
