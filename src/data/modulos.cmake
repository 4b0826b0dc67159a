# Data modules, table objects, statement builders and schema adjustments.
add_library(etiq_data STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Tabela.cpp
  ${CMAKE_CURRENT_LIST_DIR}/udtmAplicativo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UdtmMercadorias.cpp
  ${CMAKE_CURRENT_LIST_DIR}/udtmFornecedores.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AjustesBanco.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EtiquetaAtual.cpp
)
target_include_directories(etiq_data PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(etiq_data PUBLIC etiq_fb etiq_common)
