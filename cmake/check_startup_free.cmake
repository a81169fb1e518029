# Fails when a setup program needs anything of the C runtime's start-up code,
# which it does not run (app/entry.cpp): static constructors or destructors,
# TLS or its callbacks, atexit handlers, C runtime initialiser lists.
#
#   cmake -DIMAGE=<setup.exe> -DOBJDUMP=<objdump> [-DMAP=<linker map>] -P check_startup_free.cmake
#
# The stripped image shows TLS and imports; the linker map of the same link,
# where there is one, also shows constructors and the symbols that were used.

if(NOT IMAGE OR NOT OBJDUMP)
  message(FATAL_ERROR "check_startup_free: set IMAGE and OBJDUMP")
endif()
set(problems "")

execute_process(COMMAND ${OBJDUMP} -h -p ${IMAGE} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "check_startup_free: cannot read ${IMAGE}")
endif()
if(headers MATCHES "\n +[0-9]+ (\\.tls|\\.CRT) ")
  list(APPEND problems "a ${CMAKE_MATCH_1} section")
endif()
if(headers MATCHES "Entry 9 [0-9a-f]+ 0*[1-9a-f]")
  list(APPEND problems "a TLS directory")
endif()
set(startup_calls "atexit|_onexit|__dllonexit|_crt_atexit|_initterm|__getmainargs|__set_app_type|_cexit")
if(headers MATCHES "\n\t[0-9a-f]+\t +[0-9]+ +(${startup_calls})\n")
  list(APPEND problems "an import of ${CMAKE_MATCH_1}")
endif()

if(MAP)
  file(READ ${MAP} map)
  # An input section line: name (wrapped when long), address, size, file.
  if(map MATCHES "\n (\\.ctors|\\.dtors|\\.ctor|\\.dtor|\\.init_array|\\.fini_array|\\.tls|\\.CRT\\$X[A-Z]+)[^ \n]*[ \n]+0x[0-9a-f]+ +0x0*[1-9a-f][0-9a-f]* +([^\n]+)")
    list(APPEND problems "${CMAKE_MATCH_1} from ${CMAKE_MATCH_2}")
  endif()
  # i686 symbols carry one more leading underscore than x86_64 ones.
  if(map MATCHES "[ (]_?(atexit|_onexit|__cxa_atexit|__dllonexit|_crt_atexit|_tls_used)[ )\n]")
    list(APPEND problems "a use of ${CMAKE_MATCH_1}")
  endif()
endif()

if(problems)
  list(JOIN problems "; " listed)
  message(FATAL_ERROR "${IMAGE} needs the C runtime's start-up code, which setup programs do not run: ${listed}")
endif()
