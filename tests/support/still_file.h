// still_file.h: pictures compared with stills stored beside the tests as PNG files (checked by eye
// when first made); CB_UPDATE_STILLS=1 rewrites a still from the picture instead of comparing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Expects width x height pixels of blue, green, red, rows back to back, to equal the still `name`
// (CB_TEST_STILLS_DIR/name.png); a failure says how many pixels differ and by how much at most.
void ExpectSameAsStill(const std::vector<uint8_t>& bgr, int width, int height,
                       const std::string& name);
