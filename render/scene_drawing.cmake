# Scene drawing: layers, sprite layers, screen effects, the demo frame and offscreen pictures.
# Included from the top level after render/, so it adds to quarnel_render without touching its list.
target_sources(quarnel_render PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/demo_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame_render.cpp
  ${CMAKE_CURRENT_LIST_DIR}/offscreen_demo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/r2t_effects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sprite_layers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transforms.cpp
)
