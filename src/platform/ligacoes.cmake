# The serial and TCP links of the bridges' devices.
target_sources(zumarel_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ConfiguracaoSerie.cpp ${CMAKE_CURRENT_LIST_DIR}/ConfiguracaoSerie.h
  ${CMAKE_CURRENT_LIST_DIR}/LigacaoTcp.cpp ${CMAKE_CURRENT_LIST_DIR}/LigacaoTcp.h
  ${CMAKE_CURRENT_LIST_DIR}/Ligacoes.h
  ${CMAKE_CURRENT_LIST_DIR}/LigacoesQt.cpp ${CMAKE_CURRENT_LIST_DIR}/LigacoesQt.h
  ${CMAKE_CURRENT_LIST_DIR}/PortaSerie.cpp ${CMAKE_CURRENT_LIST_DIR}/PortaSerie.h
)
