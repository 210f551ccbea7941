# The console-cost plugin's counts on small ARM programs worked out by hand (the cross assembler
# and qemu-arm from the console's build packages).
find_program(CB_ARM_ASSEMBLER arm-linux-gnueabi-as)
find_program(CB_QEMU_ARM qemu-arm)
if(TARGET cb_console_cost_plugin AND CB_ARM_ASSEMBLER AND CB_QEMU_ARM)
  add_test(NAME console_cost_plugin
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/console_cost/plugin_test.sh
            $<TARGET_FILE:cb_console_cost_plugin>)
endif()
