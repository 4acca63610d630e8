# The report printer: report definitions laid out with Mustache templates and
# printed through Qt. It reads the schema to check definitions and formulas.
target_sources(zumarel_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ComposicaoRelatorio.cpp ${CMAKE_CURRENT_LIST_DIR}/ComposicaoRelatorio.h
  ${CMAKE_CURRENT_LIST_DIR}/DefinicaoRelatorio.cpp ${CMAKE_CURRENT_LIST_DIR}/DefinicaoRelatorio.h
  ${CMAKE_CURRENT_LIST_DIR}/FormulaSeleccao.cpp ${CMAKE_CURRENT_LIST_DIR}/FormulaSeleccao.h
  ${CMAKE_CURRENT_LIST_DIR}/ImpressoraQt.cpp ${CMAKE_CURRENT_LIST_DIR}/ImpressoraQt.h
)
target_link_libraries(zumarel_platform PUBLIC zumarel_shared)
