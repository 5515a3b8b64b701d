# cmake -DBUILD=<build folder> -DPREFIX=<empty prefix> -P Installation.cmake
# Installs the build under PREFIX, then runs the installed program from another
# folder: it must find its libraries, the generator libraries and the shipped
# benches there, not in the build or source trees.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE statut OUTPUT_QUIET)
if(NOT statut EQUAL 0)
  message(FATAL_ERROR "cmake --install: ${statut}")
endif()

foreach(f bin/zelm lib/zelm/zelm lib/zelm/libquilink.so lib/zelm/libsimulator.so
          lib/zelm/libquigena.so lib/zelm/libquigenb.so share/zelm/bancs/demo.ini
          share/applications/zelm.desktop share/icons/hicolor/scalable/apps/zelm.svg
          share/icons/hicolor/128x128/apps/zelm.png share/doc/Zelm/zelm.html
          lib/udev/rules.d/60-quilo-usb.rules)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# the menu entry names the installed program and icon
file(READ ${PREFIX}/share/applications/zelm.desktop entree)
foreach(ligne "Exec=${PREFIX}/bin/zelm" "Icon=${PREFIX}/share/icons/hicolor/128x128/apps/zelm.png")
  string(FIND "${entree}" "${ligne}\n" place)
  if(place LESS 0)
    message(FATAL_ERROR "zelm.desktop has no line ${ligne}:\n${entree}")
  endif()
endforeach()

# another folder, a home of its own, no display
set(ailleurs ${PREFIX}-ailleurs)
file(REMOVE_RECURSE ${ailleurs})
file(MAKE_DIRECTORY ${ailleurs})
set(ENV{HOME} ${ailleurs})
set(ENV{XDG_RUNTIME_DIR} ${ailleurs})
unset(ENV{DISPLAY})

execute_process(COMMAND ${PREFIX}/bin/zelm --simulate --acquire --timebase 3 --output trame.txt
                WORKING_DIRECTORY ${ailleurs} RESULT_VARIABLE statut ERROR_VARIABLE erreurs)
if(NOT statut EQUAL 0)
  message(FATAL_ERROR "installed zelm --simulate --acquire: ${statut}\n${erreurs}")
endif()
file(STRINGS ${ailleurs}/trame.txt lignes)
list(LENGTH lignes n)
if(NOT n EQUAL 4801)
  message(FATAL_ERROR "trame.txt: ${n} lines, not 4801")
endif()

# the generator libraries: a sweep needs one
execute_process(COMMAND ${PREFIX}/bin/zelm --simulate --sweep 100:1000:2 --delay 1
                WORKING_DIRECTORY ${ailleurs} RESULT_VARIABLE statut OUTPUT_VARIABLE sortie
                ERROR_VARIABLE erreurs)
if(NOT statut EQUAL 0)
  message(FATAL_ERROR "installed zelm --sweep: ${statut}\n${erreurs}")
endif()

# the presets come from the installed folder
execute_process(COMMAND ${PREFIX}/bin/zelm --simulate=absent --acquire
                WORKING_DIRECTORY ${ailleurs} RESULT_VARIABLE statut ERROR_VARIABLE erreurs)
if(NOT erreurs MATCHES "${PREFIX}/lib/zelm/../../share/zelm/bancs")
  message(FATAL_ERROR "the presets are not looked for in the installation: ${erreurs}")
endif()
