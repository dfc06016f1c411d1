# Runs the generator on a copy of schema.def with one slip put in, and checks
# that it refuses with the expected message.
#   cmake -DGEN=... -DSCHEMA=... -DWORK=... -DFROM=... -DTO=... -DEXPECT=... -P RejectsBrokenSchema.cmake
file(READ ${SCHEMA} text)
string(FIND "${text}" "${FROM}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "'${FROM}' not found in ${SCHEMA}")
endif()
string(REPLACE "${FROM}" "${TO}" text "${text}")
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/schema.def "${text}")
execute_process(COMMAND ${GEN} ${WORK}/schema.def ${WORK} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(status EQUAL 0)
  message(FATAL_ERROR "the generator accepted the slip '${TO}'")
endif()
string(FIND "${errors}" "${EXPECT}" found)
if(found EQUAL -1)
  message(FATAL_ERROR "expected '${EXPECT}', got: ${errors}")
endif()
