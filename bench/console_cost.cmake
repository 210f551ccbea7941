# What each frame of the demo costs the console's CPU, estimated under qemu-arm with the
# console-cost plugin (bench/console_cost.sh, which builds the ARM tree beside this one). Run it
# with `cmake --build build --target cb_console_cost`; not a test: it takes minutes.
add_custom_target(cb_console_cost
  COMMAND ${PROJECT_SOURCE_DIR}/bench/console_cost.sh
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  USES_TERMINAL)
