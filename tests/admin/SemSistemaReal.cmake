# Fails when an executable of LISTA holds the real system services' code, the
# class that powers the computer off and sets its clock. The station program
# PROGRAMA must hold it, so a renamed class or an unreadable file cannot make
# the check pass by finding nothing.
set(marca "SistemaLinux::")

function(simbolos ficheiro saida)
  execute_process(COMMAND ${NM} -C ${ficheiro} OUTPUT_VARIABLE texto RESULT_VARIABLE estado ERROR_VARIABLE erro)
  if(NOT estado EQUAL 0)
    message(FATAL_ERROR "nm falhou em ${ficheiro}: ${erro}")
  endif()
  set(${saida} "${texto}" PARENT_SCOPE)
endfunction()

simbolos(${PROGRAMA} texto)
string(FIND "${texto}" "${marca}" posicao)
if(posicao EQUAL -1)
  message(FATAL_ERROR "${PROGRAMA} não tem ${marca}: a verificação não encontraria nada")
endif()

file(STRINGS ${LISTA} executaveis)
list(LENGTH executaveis total)
if(total LESS 10)
  message(FATAL_ERROR "Só ${total} executáveis em ${LISTA}")
endif()
set(culpados "")
foreach(exe IN LISTS executaveis)
  simbolos(${exe} texto)
  string(FIND "${texto}" "${marca}" posicao)
  if(NOT posicao EQUAL -1)
    list(APPEND culpados ${exe})
  endif()
endforeach()
if(culpados)
  message(FATAL_ERROR "Serviços reais do sistema em: ${culpados}")
endif()
message(STATUS "${total} executáveis sem os serviços reais do sistema")
