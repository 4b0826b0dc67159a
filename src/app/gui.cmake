# The Qt program: main window, configuration panel, password gate, printer
# test, catalogue import and the waiting window.
add_library(etiq_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Parametros.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SenhaDoDia.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigPainel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModelosEtiqueta.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GaleriaPainel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImportaCatalogo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Icones.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uFrmAvisoAbertura.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uFrmServidorSemResposta.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InterfaceUsuarioQt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ufrmPrincipal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModulosDadosReais.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JanelasPrograma.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Programa.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EncerramentoPrograma.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Manual.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrimeiroUso.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JanelaPrimeiroUso.cpp
)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/Manual.cpp PROPERTIES
  COMPILE_DEFINITIONS ETIQ_FONTE_PROJETO="${PROJECT_SOURCE_DIR}")
target_include_directories(etiq_app PUBLIC ${PROJECT_SOURCE_DIR}/src)
set_target_properties(etiq_app PROPERTIES AUTOMOC ON)
target_link_libraries(etiq_app PUBLIC etiq_common etiq_common_gui etiq_etq etiq_data etiq_lojademo etiq_goods_gui Qt6::Widgets Qt6::PrintSupport)
if(TARGET etiq_labels_gui)
  target_link_libraries(etiq_app PUBLIC etiq_labels_gui)
endif()
# The model gallery of the configuration panel.
target_link_libraries(etiq_app PUBLIC etiq_labels etiq_previa_impressao)

# The preview of the A4 sheet models.
if(TARGET etiq_a4_gui)
  target_link_libraries(etiq_app PUBLIC etiq_a4_gui)
endif()

add_executable(etiquetas ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(etiquetas PRIVATE etiq_app)
