# Runs PROGRAMA with ARGUMENTOS (comma-separated) in an empty PASTA; fails
# unless it exits with ESTADO and leaves exactly the file ESPERADO (or none).
file(REMOVE_RECURSE "${PASTA}")
file(MAKE_DIRECTORY "${PASTA}")
string(STRIP "${ARGUMENTOS}" argumentos)
string(REPLACE "," ";" argumentos "${argumentos}")
execute_process(COMMAND "${PROGRAMA}" ${argumentos} WORKING_DIRECTORY "${PASTA}" RESULT_VARIABLE estado
                OUTPUT_VARIABLE saida ERROR_VARIABLE saida)
file(GLOB ficheiros RELATIVE "${PASTA}" "${PASTA}/*")
if(NOT estado STREQUAL ESTADO OR NOT "${ficheiros}" STREQUAL "${ESPERADO}")
  message(FATAL_ERROR "estado ${estado} (esperado ${ESTADO}), ficheiros '${ficheiros}' (esperado '${ESPERADO}'): ${saida}")
endif()
if(ESTADO STREQUAL "0" AND ESPERADO STREQUAL "" AND NOT saida MATCHES "uso: zumarel-criarbd")
  message(FATAL_ERROR "sem linha de uso: ${saida}")
endif()
